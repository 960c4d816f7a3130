// The save-options dialog as the user sees it: every control in its frame, at its place
// with its caption, the frames' lines clear of their controls, the tab order and the focus.
#include "LayoutSupport.h"
#include "support/QtPrinters.h"
#include "ui/frmJPEG.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {
class SaveOptionsLayout : public ::testing::Test {
protected:
    frmJPEG options{nullptr};
};

TEST_F(SaveOptionsLayout, EveryControlStandsInItsFrameAtItsPlace)
{
    EXPECT_EQ(options.windowTitle(), QStringLiteral("保存オプション"));
    EXPECT_EQ(options.size(), QSize(312, 175));
    EXPECT_EQ(options.minimumSize(), options.maximumSize());
    QWidget* window = &options;
    const struct {
        const char* name;
        QWidget* control;
        QWidget* container;
        QRect rect;
        const char* caption;   // nullptr: set from the settings when the dialog loads
    } rows[] = {
        {"BoxLine(1)", options.BoxLine[1], window, {8, 88, 297, 49}, nullptr},
        {"ASCR(1)", options.ASCR[1], options.BoxLine[1], {152, 16, 137, 17}, nullptr},
        {"DSP(1)", options.DSP[1], options.BoxLine[1], {120, 16, 33, 17}, nullptr},
        {"LBL(2)", options.LBL[2], options.BoxLine[1], {0, 19, 105, 17}, "圧縮率"},
        {"BoxLine(0)", options.BoxLine[0], window, {8, 8, 297, 73}, nullptr},
        {"CHK", options.CHK, options.BoxLine[0], {120, 40, 113, 17}, "保存する"},
        {"ASCR(0)", options.ASCR[0], options.BoxLine[0], {152, 16, 137, 17}, nullptr},
        {"DSP(0)", options.DSP[0], options.BoxLine[0], {120, 16, 33, 17}, nullptr},
        {"LBL(1)", options.LBL[1], options.BoxLine[0], {8, 43, 105, 17}, "プログレッシブタイプ"},
        {"LBL(0)", options.LBL[0], options.BoxLine[0], {8, 19, 105, 17}, "圧縮率"},
        {"BTN(1)", options.BTN[1], window, {216, 144, 89, 25}, "閉じる"},
        {"BTN(0)", options.BTN[0], window, {8, 144, 89, 25}, "保存"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.control->parentWidget(), row.container);
        EXPECT_EQ(row.control->geometry(), row.rect);
        EXPECT_TRUE(row.control->isEnabled());
        if (row.caption)
            EXPECT_EQ(CaptionOf(row.control), QString::fromUtf8(row.caption));
    }
    EXPECT_EQ(options.BoxLine[0]->title(), QStringLiteral("JPEG"));
    EXPECT_EQ(options.BoxLine[1]->title(), QStringLiteral("PNG"));
    for (const auto [bar, min, max] : {std::tuple{options.ASCR[0], 1, 100}, {options.ASCR[1], 0, 2}}) {
        EXPECT_EQ(QPoint(bar->minimum(), bar->maximum()), QPoint(min, max));
        EXPECT_EQ(QPoint(bar->singleStep(), bar->pageStep()), QPoint(1, 1));
    }
}

// Down a column right of the bars, the top and bottom lines of each frame lie above and
// below the read-outs and bars, which stand 16 pixels down and are 17 high.
TEST_F(SaveOptionsLayout, TheFramesLinesRunClearOfTheirControls)
{
    options.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&options));
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

TEST_F(SaveOptionsLayout, SaveHasTheFocusAndTabWalksButtonsBarsAndTheBox)
{
    options.show();
    QApplication::setActiveWindow(&options);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&options));
    EXPECT_EQ(QApplication::focusWidget(), options.BTN[0]);
    const QWidget* expected[] = {options.BTN[0], options.BTN[1], options.ASCR[0], options.CHK,
                                 options.ASCR[1], options.BTN[0]};
    for (std::size_t i = 1; i < std::size(expected); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected[i]) << "tab position " << i;
    }
}
} // namespace
