// Every caption of the three windows shows whole in the font the windows get.
#include "LayoutSupport.h"
#include "ui/frmJPEG.h"
#include "ui/frmMain.h"
#include "ui/frmView.h"

#include <QCheckBox>
#include <QPushButton>
#include <QStyleOption>
#include <gtest/gtest.h>

namespace {
// The room a control leaves its caption, as the control and its style lay the text out.
QSize CaptionRoom(const QWidget& control)
{
    if (auto* label = qobject_cast<const QLabel*>(&control)) {
        const int margin = label->margin();
        QRect room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
        int indent = label->indent();
        if (indent < 0 && label->frameWidth() > 0)   // a framed label keeps half an x clear
            indent = label->fontMetrics().horizontalAdvance(u'x') / 2 - margin;
        if (indent > 0 && (label->alignment() & (Qt::AlignLeft | Qt::AlignRight)))
            room.setWidth(room.width() - indent);
        return room.size();
    }
    QStyleOptionButton option;
    option.initFrom(&control);
    const bool box = qobject_cast<const QCheckBox*>(&control) != nullptr;
    return control.style()
        ->subElementRect(box ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents,
                         &option, &control)
        .size();
}

TEST(Captions, EveryCaptionFitsItsControl)
{
    frmMain main;
    frmView view(main);
    frmJPEG options(nullptr);   // not inside the main window, so its controls count once
    // The read-outs at their widest.
    main.DSP[1]->setText(QStringLiteral("100"));
    options.ASCR[0]->SetValue(100);
    int checked = 0;
    for (const QWidget* window : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&view),
                                  static_cast<QWidget*>(&options)}) {
        for (const QWidget* control : window->findChildren<QWidget*>()) {
            const QString caption = CaptionOf(control);
            if (caption.isEmpty() || qobject_cast<const QLineEdit*>(control))
                continue;
            SCOPED_TRACE(caption.toStdString());
            const QFontMetrics metrics(control->font());
            const QSize room = CaptionRoom(*control);
            EXPECT_LE(metrics.horizontalAdvance(caption), room.width());
            EXPECT_LE(metrics.height(), room.height());
            ++checked;
        }
    }
    // The main window's four captions, rate read-out and five buttons; the dialog's three
    // captions, two read-outs, box and two buttons. (The swatch has no caption.)
    EXPECT_EQ(checked, 18);
}
} // namespace
