// A composite larger than the screen, seen whole at a smaller zoom: the window, the keys
// and the wheel, and the mouse in composite pixels at every zoom.
#include "support/PixelAssert.h"
#include "windows/view/ViewFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <cmath>

namespace {
QPoint Scaled(QPoint p, double zoom) { return QPoint(int(std::lround(p.x() * zoom)), int(std::lround(p.y() * zoom))); }

class Zoom : public ViewFixture {
protected:
    void SetUp() override
    {
        ViewFixture::SetUp();
        // Three and a half screens and a few pixels each way: the fit lies below 1/3 and
        // off the rungs 1/2, 1/3, 1/4...
        const QSize screen = view->screen()->availableGeometry().size();
        composite = QSize(screen.width() * 7 / 2 + 7, screen.height() * 7 / 2 + 3);
        main.PicImg[1]->surface().SetPicture(GradientPicture(composite.width(), composite.height()));
        QTest::mouseClick(main.BTN[0], Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowActive(view));
        ASSERT_EQ(view->Board->size(), composite);
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) { QTest::keyClick(view->Board, key, modifiers); }
    void Wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::ControlModifier, QPoint at = QPoint(30, 30))
    {
        QWheelEvent wheel(at, view->Board->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        // As from the window system (as Qt Test sends its mouse events), so a turn the
        // board leaves goes on to the scroll area.
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        qApp->notify(view->Board, &wheel);
    }
    QScrollBar* Bar(Qt::Orientation orientation)
    {
        auto* area = view->findChild<QScrollArea*>();
        return orientation == Qt::Horizontal ? area->horizontalScrollBar() : area->verticalScrollBar();
    }
    QSize Shown(double zoom) const
    {
        const QPoint corner = Scaled({composite.width(), composite.height()}, zoom);
        return {corner.x(), corner.y()};
    }

    QSize composite;
};

TEST_F(Zoom, KeysAndTheWheelStepBetweenTheWholeCompositeAndActualPixels)
{
    Key(Qt::Key_0);
    const double fit = view->Board->Zoom();
    ASSERT_LT(fit, 1.0 / 3);
    ASSERT_GT(fit, 0.25);
    EXPECT_EQ(view->Board->size(), Shown(fit));
    EXPECT_EQ(view->size(), view->Board->size()) << "the whole composite, no scroll bars";
    const QSize screen = view->screen()->availableGeometry().size();
    const QSize outer = view->frameGeometry().size();
    EXPECT_TRUE(outer.width() <= screen.width() && outer.height() <= screen.height());
    EXPECT_TRUE(outer.width() == screen.width() || outer.height() == screen.height());

    const struct { const char* what; std::function<void()> act; double zoom; } steps[] = {
        {"Ctrl+1", [&] { Key(Qt::Key_1); }, 1.0},
        {"Ctrl+wheel towards the user", [&] { Wheel(-120); }, 0.5},
        {"again", [&] { Wheel(-120); }, 1.0 / 3},
        {"again: the fit comes before 1/4", [&] { Wheel(-120); }, fit},
        {"Ctrl+plus", [&] { Key(Qt::Key_Plus); }, 1.0 / 3},
        {"half a notch", [&] { Wheel(60); }, 1.0 / 3},
        {"the other half", [&] { Wheel(60); }, 0.5},
        {"Ctrl+minus", [&] { Key(Qt::Key_Minus); }, 1.0 / 3},
        {"two notches at once", [&] { Wheel(240); }, 1.0}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_DOUBLE_EQ(view->Board->Zoom(), step.zoom);
        EXPECT_EQ(view->Board->size(), Shown(step.zoom));
    }
}

// Ctrl+wheel zooms about the pointer: the composite point under it stays under it. Keys
// and turns the view does not use still scroll it; an arrow moves the foreground one
// composite pixel at any zoom instead of scrolling.
TEST_F(Zoom, TheWheelZoomsAboutThePointerAndTheScrollAreaKeepsWhatTheViewDoesNotUse)
{
    Bar(Qt::Horizontal)->setValue(300);
    Bar(Qt::Vertical)->setValue(200);
    Wheel(-120, Qt::ControlModifier, QPoint(390, 260));   // the pointer at (90, 60)
    ASSERT_DOUBLE_EQ(view->Board->Zoom(), 0.5);
    const QPoint scrolled(Bar(Qt::Horizontal)->value(), Bar(Qt::Vertical)->value());
    EXPECT_EQ(scrolled, QPoint(390, 260) / 2 - QPoint(90, 60));
    Key(Qt::Key_Right, {});
    EXPECT_EQ(QPoint(FrontX, FrontY), QPoint(21, 10));
    EXPECT_EQ(Bar(Qt::Horizontal)->value(), scrolled.x());
    Wheel(-120, {});
    EXPECT_GT(Bar(Qt::Vertical)->value(), scrolled.y());
    EXPECT_DOUBLE_EQ(view->Board->Zoom(), 0.5);
    const int down = Bar(Qt::Vertical)->value();
    Key(Qt::Key_PageDown, {});
    EXPECT_GT(Bar(Qt::Vertical)->value(), down);
}

// Press and release at the screen points that show composite points (30, 18) and
// (30, 18) + step: the foreground lands where a drag between those points lands at zoom 1,
// and the marker is drawn around it at the zoom.
TEST_F(Zoom, ADragLandsWhereItWouldAtActualPixels)
{
    const QPoint grab(30, 18), step(42, -12);
    for (const int notches : {0, -1, -2}) {   // zoom 1, 1/2, 1/3
        SCOPED_TRACE(notches);
        Key(Qt::Key_1);
        Wheel(120 * notches);
        const double zoom = view->Board->Zoom();
        FrontX = 20, FrontY = 10;
        main.BTN_Click(0);
        QTest::mousePress(view->Board, Qt::LeftButton, {}, Scaled(grab, zoom));
        QTest::mouseRelease(view->Board, Qt::LeftButton, {}, Scaled(grab + step, zoom));
        const QPoint corner = QPoint(20, 10) + step;   // the 40 x 30 foreground's
        EXPECT_EQ(QPoint(FrontX, FrontY), corner);
        EXPECT_EQ(view->Shape1->geometry(),
                  QRect(Scaled(corner, zoom), Scaled(corner + QPoint(40, 30), zoom) - QPoint(1, 1)));
    }
}

// The double click leaves the composite alone on the clipboard, no text beside it.
TEST_F(Zoom, SavingAndCopyingTakeTheWholeCompositeAtFullSize)
{
    Key(Qt::Key_0);
    ASSERT_LT(view->Board->Zoom(), 1.0);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("earlier"));
    QTest::mouseDClick(view->Board, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_FALSE(clipboard->mimeData()->hasText());
    const QImage copied = clipboard->image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(copied.size(), composite);
    EXPECT_TRUE(SamePixels(view->Board->surface().Image(), copied));

    QTemporaryDir dir;
    dialogs->saveAnswers.push_back(FileDialogAnswer{true, dir.filePath("whole"), 2});
    QTest::mouseRelease(view->Board, Qt::RightButton, {}, QPoint(40, 40));
    const QImage saved = QImage(dir.filePath("whole.BMP")).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(saved.size(), composite);
    EXPECT_TRUE(SamePixels(view->Board->surface().Image(), saved));
}
} // namespace
