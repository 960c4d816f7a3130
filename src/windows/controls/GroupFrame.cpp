#include "windows/controls/GroupFrame.h"

#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace {
constexpr int CaptionLeft = 6;   // where the gap in the top line starts
constexpr int CaptionGap = 2;    // clear space either side of the caption
} // namespace

GroupFrame::GroupFrame(QWidget* parent, const QString& caption, QRect outer)
    : QGroupBox(caption, parent)
{
    setGeometry(outer);
}

void GroupFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    qDrawShadeRect(&painter, rect().adjusted(0, metrics.height() / 2, 0, 0), palette(), true);
    const QRect caption(CaptionLeft, 0, metrics.horizontalAdvance(title()) + 2 * CaptionGap,
                        metrics.height());
    painter.fillRect(caption, palette().window());
    style()->drawItemText(&painter, caption, Qt::AlignCenter, palette(), isEnabled(), title(),
                          QPalette::WindowText);
}
