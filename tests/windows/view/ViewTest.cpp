#include "support/PixelAssert.h"
#include "windows/view/ViewFixture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>

namespace {
using View = ViewFixture;

// The marker covers x 20..60 and y 10..40, both ends included.
TEST_F(View, APressStartsADragOnlyOnTheMarkerEdgesIncluded)
{
    const struct { QPoint at; bool drags; } cases[] = {
        {{20, 10}, true},  {{60, 40}, true},  {{60, 25}, true},  {{40, 40}, true},
        {{61, 25}, false}, {{19, 25}, false}, {{40, 41}, false}, {{40, 9}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "press at " << c.at.x() << ", " << c.at.y());
        view->Dragging = 0;
        QTest::mousePress(view->Board, Qt::LeftButton, {}, c.at);
        EXPECT_EQ(view->Dragging, c.drags ? -1 : 0);
        if (c.drags) {
            EXPECT_EQ(QPoint(view->GrabOffsetX, view->GrabOffsetY), QPoint(20, 10) - c.at);
        }
    }
}

TEST_F(View, DraggingMovesTheMarkerAndTheReleasePlacesTheForeground)
{
    const QImage before = view->Board->surface().Image().copy();
    const auto move = [this](QPoint p, Qt::MouseButtons held) {
        QMouseEvent event(QEvent::MouseMove, p, view->Board->mapToGlobal(p), Qt::NoButton, held, Qt::NoModifier);
        QApplication::sendEvent(view->Board, &event);
    };
    QTest::mousePress(view->Board, Qt::LeftButton, {}, {25, 15});
    move({45, 35}, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(view->Shape1->pos(), QPoint(20, 10)) << "both buttons held";
    move({45, 25}, Qt::LeftButton);
    EXPECT_EQ(view->Shape1->pos(), QPoint(40, 20));
    EXPECT_TRUE(SamePixels(before, view->Board->surface().Image())) << "the composite is redrawn only on release";
    QTest::mouseRelease(view->Board, Qt::LeftButton, {}, {45, 25});
    EXPECT_EQ(QPoint(FrontX, FrontY), QPoint(40, 20));
    EXPECT_EQ(view->Shape1->geometry(), QRect(40, 20, 40, 30));
    EXPECT_TRUE(PixelIs(view->Board->surface().Image(), 40, 20, front.pixel(0, 0)));
    EXPECT_TRUE(PixelIs(view->Board->surface().Image(), 20, 10, back.pixel(20, 10)));
}

TEST_F(View, FractionalPositionsRoundHalvesToEven)
{
    view->Shape1->SetBounds(QRect(0, 0, 40, 30));
    view->Board_MouseDown(1, 0, 0.0f, 0.0f);
    view->Board_MouseUp(1, 0, 10.5f, 11.5f);
    EXPECT_EQ(QPoint(FrontX, FrontY), QPoint(10, 12));
}

TEST_F(View, RightReleaseAsksForAFileNameAlsoDuringADrag)
{
    QTest::mousePress(view->Board, Qt::LeftButton, {}, {25, 15});
    dialogs->saveAnswers.push_back(FileDialogAnswer{});   // cancelled
    QTest::mouseRelease(view->Board, Qt::RightButton, {}, {100, 80});
    ASSERT_EQ(dialogs->saveRequests.size(), 1u);
    const FileDialogRequest& request = dialogs->saveRequests[0];
    EXPECT_EQ(request.title, QStringLiteral("ファイルの保存"));
    EXPECT_EQ(request.flags, 8196);
    EXPECT_EQ(request.owner, view);
    const QChar nul(0);
    EXPECT_EQ(request.filterPattern,
              QStringLiteral("画像ファイル") + nul + "*.bmp;*.jpg;*.png" + nul + QStringLiteral("ビットマップファイル") +
                  nul + "*.bmp" + nul + QStringLiteral("ＪＰＥＧファイル") + nul + "*.jpg" + nul +
                  QStringLiteral("ＰＮＧファイル") + nul + "*.png" + nul);
    EXPECT_EQ(view->Dragging, -1) << "the drag goes on after a save";
}

// Each composition activates the view, which then fits its client area to the composite
// up to the screen's available room, and scrolls beyond it; the user cannot resize it.
TEST_F(View, ActivationFitsTheWindowToTheComposite)
{
    const QSize screen = view->screen()->availableGeometry().size();
    for (const QSize composite : {QSize(300, 200), screen + QSize(500, 400)}) {
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
        main.PicImg[1]->surface().SetPicture(GradientPicture(composite.width(), composite.height()));
        QTest::mouseClick(main.BTN[0], Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowActive(view));
        EXPECT_EQ(view->Board->size(), composite);
        EXPECT_EQ(view->minimumSize(), view->maximumSize());
        const bool fits = composite.width() < screen.width();
        EXPECT_EQ(fits ? view->size() : view->frameGeometry().size(), fits ? composite : screen);
    }
}
} // namespace
