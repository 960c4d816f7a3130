// The three windows as the user sees them: every control at its place with its caption,
// every caption whole in the font the windows get, the tab order and the first focus.
#include "core/surfaces/SystemColors.h"
#include "support/QtPrinters.h"
#include "windows/options/frmJPEG.h"
#include "windows/main/frmMain.h"
#include "windows/view/frmView.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOption>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// The text a control shows: a label's or button's caption, a field's text; empty otherwise.
QString CaptionOf(const QWidget* control)
{
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    auto* field = qobject_cast<const QLineEdit*>(control);
    return field ? field->text() : QString();
}

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
        ->subElementRect(box ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, &control)
        .size();
}

struct Placed {
    const char* name;
    QWidget* control;
    QRect rect;
    const char* caption;   // nullptr: none, or set from the settings when the window loads
};

// Rectangles in `window`'s client area, or in the control's parent without a window.
void ExpectPlaced(const QWidget* window, std::initializer_list<Placed> rows)
{
    for (const Placed& row : rows) {
        SCOPED_TRACE(row.name);
        const QPoint at = window ? row.control->mapTo(window, QPoint(0, 0)) : row.control->pos();
        EXPECT_EQ(QRect(at, row.control->size()), row.rect);
        EXPECT_TRUE(row.control->isEnabled());
        EXPECT_TRUE(row.control->isVisibleTo(row.control->window()));
        EXPECT_TRUE(!row.caption || CaptionOf(row.control) == QString::fromUtf8(row.caption))
            << CaptionOf(row.control).toStdString();
    }
}

// Tab from the window's first focus walks `order` and comes round to its start again.
void ExpectTabOrder(QWidget& window, const std::vector<QWidget*>& order)
{
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (std::size_t i = 0; i <= order.size(); ++i) {
        EXPECT_EQ(QApplication::focusWidget(), order[i % order.size()]) << "tab position " << i;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
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

TEST(MainWindow, EveryControlStandsAtItsPlaceWithItsCaption)
{
    frmMain form;
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Layerpix"));
    EXPECT_EQ(form.size(), QSize(322, 479));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    ExpectPlaced(&form, {
        {"Trans", form.Trans, {64, 184, 17, 17}, nullptr}, {"Loupe", form.Loupe, {8, 32, 74, 74}, nullptr},
        {"AREA(0)", form.AREA[0], {88, 24, 209, 177}, nullptr}, {"AREA(1)", form.AREA[1], {88, 240, 209, 177}, nullptr},
        {"HSCR(1)", form.HSCR[1], {88, 416, 209, 17}, nullptr}, {"HSCR(0)", form.HSCR[0], {88, 200, 209, 17}, nullptr},
        {"VSCR(1)", form.VSCR[1], {296, 240, 17, 177}, nullptr}, {"VSCR(0)", form.VSCR[0], {296, 24, 17, 177}, nullptr},
        {"FLD(1)", form.FLD[1], {88, 224, 209, 18}, ""}, {"FLD(0)", form.FLD[0], {88, 8, 209, 18}, ""},
        {"DBTN(1)", form.DBTN[1], {296, 224, 17, 17}, "..."}, {"DBTN(0)", form.DBTN[0], {296, 8, 17, 17}, "..."},
        {"BTN(1)", form.BTN[1], {64, 448, 49, 25}, "ｵﾌﾟｼｮﾝ"}, {"BTN(2)", form.BTN[2], {264, 448, 49, 25}, "閉じる"},
        {"BTN(0)", form.BTN[0], {8, 448, 49, 25}, "合成"}, {"DSP(1)", form.DSP[1], {32, 184, 33, 17}, "0"},
        {"LBL(3)", form.LBL[3], {8, 160, 73, 17}, "透明度"}, {"DSP(0)", form.DSP[0], {32, 136, 49, 17}, ""},
        {"LBL(1)", form.LBL[1], {8, 112, 73, 17}, "透明の色"}, {"LBL(2)", form.LBL[2], {8, 228, 73, 17}, "背景の絵"},
        {"LBL(0)", form.LBL[0], {8, 12, 73, 17}, "前景の絵"}});
    // The loupe's marker frames the centre cell, its line along inner pixels 31 and 40.
    EXPECT_EQ(form.Shape1->geometry().translated(-form.Loupe->borderWidth(), -form.Loupe->borderWidth()),
              QRect(31, 31, 10, 10));
    for (PictureBox* holder : form.PicImg) {   // hidden, and empty filled with the menu colour
        EXPECT_FALSE(holder->isVisible());
        EXPECT_EQ(holder->surface().Image().pixelColor(36, 32), COLOR_MENU);
        EXPECT_FALSE(holder->surface().HasPicture());
    }
    // Controls that take no focus are passed over; the hidden holders too.
    ExpectTabOrder(form, {form.BTN[0], form.DBTN[0], form.BTN[2], form.BTN[1], form.DBTN[1], form.FLD[0], form.FLD[1],
                          form.VSCR[0], form.VSCR[1], form.HSCR[0], form.HSCR[1], form.Trans});
}

// Every control in its frame at its place, the frames' lines clear of them, the focus on
// "保存" and Tab walking buttons, bars and the box.
TEST(SaveOptionsLayout, ControlsStandInTheirFramesClearOfTheLinesWithTheFocusOnSave)
{
    frmJPEG options(nullptr);
    EXPECT_EQ(options.windowTitle(), QStringLiteral("保存オプション"));
    EXPECT_EQ(options.size(), QSize(312, 175));
    EXPECT_EQ(options.minimumSize(), options.maximumSize());
    EXPECT_EQ(options.BoxLine[0]->title(), QStringLiteral("JPEG"));
    EXPECT_EQ(options.BoxLine[1]->title(), QStringLiteral("PNG"));
    using Controls = std::initializer_list<QWidget*>;
    for (QWidget* control : Controls{options.ASCR[0], options.DSP[0], options.LBL[0], options.LBL[1], options.CHK})
        EXPECT_EQ(control->parentWidget(), options.BoxLine[0]);
    for (QWidget* control : Controls{options.ASCR[1], options.DSP[1], options.LBL[2]})
        EXPECT_EQ(control->parentWidget(), options.BoxLine[1]);
    ExpectPlaced(nullptr, {
        {"BoxLine(1)", options.BoxLine[1], {8, 88, 297, 49}, nullptr},
        {"ASCR(1)", options.ASCR[1], {152, 16, 137, 17}, nullptr}, {"DSP(1)", options.DSP[1], {120, 16, 33, 17}, nullptr},
        {"LBL(2)", options.LBL[2], {0, 19, 105, 17}, "圧縮率"}, {"BoxLine(0)", options.BoxLine[0], {8, 8, 297, 73}, nullptr},
        {"CHK", options.CHK, {120, 40, 113, 17}, "保存する"}, {"ASCR(0)", options.ASCR[0], {152, 16, 137, 17}, nullptr},
        {"DSP(0)", options.DSP[0], {120, 16, 33, 17}, nullptr},
        {"LBL(1)", options.LBL[1], {8, 43, 105, 17}, "プログレッシブタイプ"}, {"LBL(0)", options.LBL[0], {8, 19, 105, 17}, "圧縮率"},
        {"BTN(1)", options.BTN[1], {216, 144, 89, 25}, "閉じる"}, {"BTN(0)", options.BTN[0], {8, 144, 89, 25}, "保存"}});
    ExpectTabOrder(options, {options.BTN[0], options.BTN[1], options.ASCR[0], options.CHK, options.ASCR[1]});

    // Down a column right of the bars, the top and bottom lines of each frame lie above and
    // below the read-outs and bars, which stand 16 pixels down and are 17 high.
    for (QGroupBox* frame : options.BoxLine) {
        SCOPED_TRACE(frame->title().toStdString());
        const QImage drawn = frame->grab().toImage();
        const QRgb background = drawn.pixel(drawn.width() - 6, drawn.height() - 6);
        QList<int> lineRows;
        for (int y = 0; y < drawn.height(); ++y)
            if (drawn.pixel(drawn.width() - 6, y) != background)
                lineRows << y;
        ASSERT_FALSE(lineRows.isEmpty());
        EXPECT_LT(lineRows.first(), 16);
        EXPECT_GE(lineRows.last(), 16 + 17);
        for (const int y : lineRows)
            EXPECT_TRUE(y < 16 || y >= 16 + 17) << "a line at y = " << y;
    }
}

// The composite view as it is created, before the first composition fits it.
TEST(ViewLayout, StartsAt194By179WithTheBoardAtTheCornerAndTheMarkerOutsideIt)
{
    frmMain main;
    frmView view(main);
    EXPECT_EQ(view.windowTitle(), QStringLiteral("合成画像"));
    EXPECT_TRUE(view.windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(view.size(), QSize(194, 179));
    EXPECT_EQ(view.Board->geometry(), QRect(0, 0, 200, 200));
    EXPECT_EQ(view.Board->borderWidth(), 0);
    EXPECT_EQ(view.Shape1->parentWidget(), view.Board);
    EXPECT_EQ(view.Shape1->geometry(), QRect(-1, -1, 1, 1));
    EXPECT_EQ(view.TMC->interval(), 100);
    EXPECT_TRUE(view.TMC->isActive());
    QList<QWidget*> focusable;
    for (QWidget* control : view.findChildren<QWidget*>())
        if (control->focusPolicy() != Qt::NoFocus)
            focusable << control;
    EXPECT_EQ(focusable, QList<QWidget*>{view.Board});
}
} // namespace
