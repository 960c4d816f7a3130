// The main window as the user sees it: every control at its place with its caption,
// visibility and kind, the tab order, and the inner sizes of the bordered surfaces.
#include "LayoutSupport.h"
#include "platform/SystemColors.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {
TEST(MainWindow, EveryControlStandsAtItsPlaceWithItsCaption)
{
    frmMain form;
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Layerpix"));
    EXPECT_EQ(form.size(), QSize(322, 479));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    const struct {
        const char* name;
        QWidget* control;
        QRect rect;
        const char* caption; // nullptr: no caption to check
        bool visible;
    } rows[] = {
        {"Trans", form.Trans, {64, 184, 17, 17}, nullptr, true},
        {"PicImg(2)", form.PicImg[2], {8, 256, 73, 65}, nullptr, false},
        {"Loupe", form.Loupe, {8, 32, 74, 74}, nullptr, true},
        {"AREA(0)", form.AREA[0], {88, 24, 209, 177}, nullptr, true},
        {"AREA(1)", form.AREA[1], {88, 240, 209, 177}, nullptr, true},
        {"HSCR(1)", form.HSCR[1], {88, 416, 209, 17}, nullptr, true},
        {"HSCR(0)", form.HSCR[0], {88, 200, 209, 17}, nullptr, true},
        {"VSCR(1)", form.VSCR[1], {296, 240, 17, 177}, nullptr, true},
        {"VSCR(0)", form.VSCR[0], {296, 24, 17, 177}, nullptr, true},
        {"FLD(1)", form.FLD[1], {88, 224, 209, 18}, "", true},
        {"FLD(0)", form.FLD[0], {88, 8, 209, 18}, "", true},
        {"DBTN(1)", form.DBTN[1], {296, 224, 17, 17}, "...", true},
        {"BTN(1)", form.BTN[1], {64, 448, 49, 25}, "ｵﾌﾟｼｮﾝ", true},
        {"BTN(2)", form.BTN[2], {264, 448, 49, 25}, "閉じる", true},
        {"DBTN(0)", form.DBTN[0], {296, 8, 17, 17}, "...", true},
        {"BTN(0)", form.BTN[0], {8, 448, 49, 25}, "合成", true},
        {"DSP(1)", form.DSP[1], {32, 184, 33, 17}, "0", true},
        {"LBL(3)", form.LBL[3], {8, 160, 73, 17}, "透明度", true},
        {"DSP(0)", form.DSP[0], {32, 136, 49, 17}, "", true},
        {"LBL(1)", form.LBL[1], {8, 112, 73, 17}, "透明の色", true},
        {"LBL(2)", form.LBL[2], {8, 228, 73, 17}, "背景の絵", true},
        {"LBL(0)", form.LBL[0], {8, 12, 73, 17}, "前景の絵", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // Positions are in the client area of the window.
        EXPECT_EQ(QRect(row.control->mapTo(&form, QPoint(0, 0)), row.control->size()), row.rect);
        EXPECT_EQ(row.control->isVisible(), row.visible);
        EXPECT_TRUE(row.control->isEnabled());
        if (row.caption) {
            EXPECT_EQ(CaptionOf(row.control), QString::fromUtf8(row.caption));
        }
    }
}

TEST(MainWindow, SurfacesAndBarsStartAtTheirDesignSizesAndValues)
{
    frmMain form;
    for (int slot : {0, 1})
        EXPECT_EQ(form.AREA[slot]->surface().Image().size(), QSize(205, 173));
    EXPECT_EQ(form.Loupe->surface().Image().size(), QSize(72, 72));
    // The loupe's marker frames the centre cell, its line along inner pixels 31 and 40.
    const QPoint markerInLoupe = form.Shape1->geometry().topLeft() -
                                 QPoint(form.Loupe->borderWidth(), form.Loupe->borderWidth());
    EXPECT_EQ(QRect(markerInLoupe, form.Shape1->size()), QRect(31, 31, 10, 10));
    // The hidden holders start filled with the menu colour.
    for (PictureBox* holder : form.PicImg) {
        EXPECT_EQ(holder->surface().Image().size(), QSize(73, 65));
        EXPECT_EQ(holder->surface().Image().pixelColor(36, 32), COLOR_MENU);
        EXPECT_FALSE(holder->surface().HasPicture());
    }
    for (ScrollBar* bar : {form.HSCR[0], form.HSCR[1], form.VSCR[0], form.VSCR[1]}) {
        EXPECT_EQ(QPoint(bar->minimum(), bar->maximum()), QPoint(0, 32767));
        EXPECT_EQ(bar->Value(), 0);
        EXPECT_EQ(QPoint(bar->singleStep(), bar->pageStep()), QPoint(1, 1));
    }
    EXPECT_EQ(QPoint(form.Trans->minimum(), form.Trans->maximum()), QPoint(0, 100));
    EXPECT_EQ(form.Trans->orientation(), Qt::Vertical);
}

TEST(MainWindow, TabOrderStartsOnComposeAndWalksTheControls)
{
    frmMain form;
    form.show();
    QApplication::setActiveWindow(&form);
    EXPECT_EQ(QApplication::focusWidget(), form.BTN[0]);
    const QWidget* expected[] = {form.BTN[0], form.DBTN[0], form.BTN[2], form.BTN[1],
                                 form.DBTN[1], form.FLD[0], form.FLD[1], form.VSCR[0],
                                 form.VSCR[1], form.HSCR[0], form.HSCR[1], form.Trans};
    QWidget* w = form.BTN[0];
    for (std::size_t i = 1; i < std::size(expected); ++i) {
        do
            w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || !w->isVisible());
        EXPECT_EQ(w, expected[i]) << "tab position " << i;
    }
}
} // namespace
