// The arrow keys in the composite view place the foreground as a drag does.
#include "windows/view/ComposeIntoView.h"
#include "support/PixelAssert.h"
#include "support/RecordingView.h"
#include "windows/view/ViewFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>

namespace {
class Nudge : public ViewFixture {
protected:
    void SetUp() override
    {
        ViewFixture::SetUp();
        Settings.TransRate = 60;   // a blend, so a misplaced pixel shows
        PlaceAt(start);
    }
    void PlaceAt(QPoint at)
    {
        FrontX = at.x(), FrontY = at.y();
        ComposeIntoView(main, *view);
    }
    // What the engine itself composes from the main window's pictures at `at`.
    QImage EngineAt(QPoint at)
    {
        RecordingView target;
        ComposeImages(Settings.TransColor, Settings.TransRate, at.x(), at.y(),
                      {main.PicImg[0]->surface(), main.PicImg[1]->surface(), nullptr}, target);
        return target.board.Image().copy();
    }

    const QPoint start{20, 10};
};

TEST_F(Nudge, AnArrowMovesTheForegroundAsADragByTheSameStepDoes)
{
    const struct { Qt::Key key; Qt::KeyboardModifiers modifiers; QPoint step; } rows[] = {
        {Qt::Key_Left, {}, {-1, 0}}, {Qt::Key_Right, Qt::KeypadModifier, {1, 0}},
        {Qt::Key_Up, Qt::ShiftModifier, {0, -10}}, {Qt::Key_Down, Qt::ShiftModifier, {0, 10}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << "step " << row.step.x() << ", " << row.step.y());
        PlaceAt(start);
        QTest::keyClick(view->Board, row.key, row.modifiers);
        const QPoint placed = start + row.step;
        EXPECT_EQ(QPoint(FrontX, FrontY), placed);
        EXPECT_EQ(view->Shape1->Bounds(), QRect(placed, front.size())) << "the marker follows";
        EXPECT_EQ(view->windowTitle(), QStringLiteral("合成画像 (%1, %2)").arg(placed.x()).arg(placed.y()));
        QCoreApplication::processEvents();
        const QImage nudged = view->Board->surface().Image().copy();
        EXPECT_TRUE(SamePixels(EngineAt(placed), nudged));

        PlaceAt(start);
        QTest::mousePress(view->Board, Qt::LeftButton, {}, start + QPoint(5, 5));
        QTest::mouseRelease(view->Board, Qt::LeftButton, {}, start + QPoint(5, 5) + row.step);
        EXPECT_EQ(QPoint(FrontX, FrontY), placed);
        EXPECT_TRUE(SamePixels(nudged, view->Board->surface().Image()));
    }
}

// A held key repeats faster than a large composite is made: every repeat moves the
// marker at once, and the repeats queued meanwhile are composed together.
TEST_F(Nudge, RepeatsOfAHeldKeyAreComposedTogether)
{
    QSignalSpy compositions(&view->Board->surface(), &Surface::refreshed);
    for (int i = 0; i < 12; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier, QString(), true);
        QApplication::sendEvent(view->Board, &repeat);
    }
    EXPECT_EQ(view->Shape1->Bounds().topLeft(), start + QPoint(120, 0));
    EXPECT_EQ(compositions.size(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(compositions.size(), 1);
    EXPECT_TRUE(SamePixels(EngineAt(start + QPoint(120, 0)), view->Board->surface().Image()));
}
} // namespace
