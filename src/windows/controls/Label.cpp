#include "windows/controls/Label.h"

#include <QMouseEvent>

Label::Label(QWidget* parent, const QString& caption, QRect outer, BorderStyle border,
             Qt::Alignment alignment, bool opaque)
    : QLabel(caption, parent)
{
    setGeometry(outer);
    setAlignment(alignment | Qt::AlignVCenter);
    switch (border) {
    case BorderStyle::ThreeD: setFrameStyle(QFrame::WinPanel | QFrame::Sunken); break;
    case BorderStyle::Flat: setFrameStyle(QFrame::Box | QFrame::Plain); setLineWidth(1); break;
    case BorderStyle::None: setFrameStyle(QFrame::NoFrame); break;
    }
    setAutoFillBackground(opaque);
}

void Label::SetBackColour(QColor colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour);
    setPalette(pal);
    setAutoFillBackground(true);
}

QColor Label::BackColour() const
{
    return palette().color(QPalette::Window);
}

void Label::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}
