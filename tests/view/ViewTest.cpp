#include "support/PixelAssert.h"
#include "view/ViewFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

namespace {
class View : public ViewFixture {
protected:
    void Press(QPoint p) { QTest::mousePress(view->Board, Qt::LeftButton, {}, p); }
    void Release(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(view->Board, button, {}, p);
    }
    // A move with exactly these buttons held.
    void Move(QPoint p, Qt::MouseButtons held)
    {
        QMouseEvent move(QEvent::MouseMove, p, view->Board->mapToGlobal(p), Qt::NoButton, held,
                         Qt::NoModifier);
        QApplication::sendEvent(view->Board, &move);
    }
    const QImage& Board() { return view->Board->surface().Image(); }
    // Swaps the background without resetting the foreground's place, so a composition
    // shows on the board.
    void ChangeBackground() { main.PicImg[1]->surface().SetPicture(NoisePicture(120, 90, 77)); }
};

TEST_F(View, APressStartsADragOnlyOnTheMarkerEdgesIncluded)
{
    // The marker covers x 20..60 and y 10..40, both ends included.
    const struct {
        QPoint at;
        bool drags;
    } cases[] = {{{20, 10}, true},  {{60, 40}, true},  {{60, 25}, true},  {{40, 40}, true},
                 {{61, 25}, false}, {{19, 25}, false}, {{40, 41}, false}, {{40, 9}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "press at " << c.at.x() << ", " << c.at.y());
        view->Dragging = 0;
        Press(c.at);
        EXPECT_EQ(view->Dragging, c.drags ? -1 : 0);
        if (c.drags) {
            EXPECT_EQ(view->GrabOffsetX, 20 - c.at.x());
            EXPECT_EQ(view->GrabOffsetY, 10 - c.at.y());
        }
    }
}

TEST_F(View, ReleaseWithoutMovingComposesAgainAtTheSamePlace)
{
    Press({30, 20});
    ChangeBackground();
    Release({30, 20});
    EXPECT_EQ(view->Dragging, 0);
    EXPECT_EQ(FrontX, 20);
    EXPECT_EQ(FrontY, 10);
    const QImage newBack = main.PicImg[1]->surface().Image();
    EXPECT_TRUE(PixelIs(Board(), 5, 5, newBack.pixel(5, 5)));
    EXPECT_TRUE(PixelIs(Board(), 20, 10, front.pixel(0, 0)));
}

TEST_F(View, APressBesideTheMarkerNeitherDragsNorComposes)
{
    const QImage before = Board().copy();
    Press({61, 25});
    ChangeBackground();
    Release({61, 25});
    EXPECT_TRUE(SamePixels(before, Board()));
    EXPECT_EQ(FrontX, 20);
}

TEST_F(View, DraggingMovesTheMarkerAndTheReleasePlacesTheForeground)
{
    const QImage before = Board().copy();
    Press({25, 15});
    Move({45, 25}, Qt::LeftButton);
    EXPECT_EQ(view->Shape1->pos(), QPoint(40, 20));
    EXPECT_TRUE(SamePixels(before, Board())) << "the composite is redrawn only on release";
    Release({45, 25});
    EXPECT_EQ(FrontX, 40);
    EXPECT_EQ(FrontY, 20);
    EXPECT_EQ(view->Shape1->geometry(), QRect(40, 20, 40, 30));
    EXPECT_TRUE(PixelIs(Board(), 40, 20, front.pixel(0, 0)));
    EXPECT_TRUE(PixelIs(Board(), 20, 10, back.pixel(20, 10)));
}

TEST_F(View, TheForegroundMayBeDraggedOffTheComposite)
{
    Press({25, 15});
    Move({-15, 15}, Qt::LeftButton);
    Release({-15, 15});
    EXPECT_EQ(FrontX, -20);
    EXPECT_EQ(FrontY, 10);
    EXPECT_EQ(view->Shape1->pos(), QPoint(-20, 10));
    EXPECT_TRUE(PixelIs(Board(), 0, 10, front.pixel(20, 0)));
}

TEST_F(View, MovingWithBothButtonsHeldLeavesTheMarker)
{
    Press({25, 15});
    Move({45, 35}, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(view->Shape1->pos(), QPoint(20, 10));
    Move({45, 35}, Qt::NoButton);
    EXPECT_EQ(view->Shape1->pos(), QPoint(20, 10));
}

TEST_F(View, FractionalPositionsRoundHalvesToEven)
{
    view->Shape1->move(0, 0);
    view->Board_MouseDown(1, 0, 2.5f, 3.5f);
    EXPECT_EQ(view->GrabOffsetX, -2);
    EXPECT_EQ(view->GrabOffsetY, -4);
    view->Board_MouseDown(1, 0, 0.0f, 0.0f);
    view->Board_MouseUp(1, 0, 10.5f, 11.5f);
    EXPECT_EQ(FrontX, 10);
    EXPECT_EQ(FrontY, 12);
}

TEST_F(View, RightReleaseAsksForAFileNameAlsoDuringADrag)
{
    dialogs->saveAnswers.push_back(FileDialogAnswer{});   // cancelled
    Release({100, 80}, Qt::RightButton);
    ASSERT_EQ(dialogs->saveRequests.size(), 1u);
    const FileDialogRequest& request = dialogs->saveRequests[0];
    EXPECT_EQ(request.title, QStringLiteral("ファイルの保存"));
    EXPECT_EQ(request.flags, 8196);
    EXPECT_TRUE(request.initialFolder.isEmpty());
    EXPECT_EQ(request.owner, view);
    const QChar nul(0);
    EXPECT_EQ(request.filterPattern,
              QStringLiteral("画像ファイル") + nul + "*.bmp;*.jpg;*.png" + nul +
                  QStringLiteral("ビットマップファイル") + nul + "*.bmp" + nul +
                  QStringLiteral("ＪＰＥＧファイル") + nul + "*.jpg" + nul +
                  QStringLiteral("ＰＮＧファイル") + nul + "*.png" + nul);

    Press({25, 15});
    dialogs->saveAnswers.push_back(FileDialogAnswer{});
    Release({25, 15}, Qt::RightButton);
    EXPECT_EQ(dialogs->saveRequests.size(), 2u);
    EXPECT_EQ(view->Dragging, -1) << "the drag goes on after a save";
}

TEST_F(View, DoubleClickLeavesTheCompositeOnTheClipboard)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("earlier"));
    QTest::mouseDClick(view->Board, Qt::LeftButton, {}, QPoint(100, 80));
    EXPECT_FALSE(clipboard->mimeData()->hasText());
    const QImage copied = clipboard->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_TRUE(SamePixels(Board(), copied.convertToFormat(QImage::Format_RGB32)));
}

TEST_F(View, ActivationFitsTheWindowToTheComposite)
{
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    EXPECT_EQ(view->size(), back.size());

    // A larger background, composed from the main window.
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    main.PicImg[1]->surface().SetPicture(GradientPicture(300, 200));
    QTest::mouseClick(main.BTN[0], Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    EXPECT_EQ(view->size(), QSize(300, 200));
    EXPECT_EQ(view->minimumSize(), view->maximumSize()) << "the user cannot resize it";
}

TEST_F(View, ACompositeLargerThanTheScreenScrolls)
{
    const QSize screen = view->screen()->availableGeometry().size();
    const QSize composite = screen + QSize(500, 400);
    main.PicImg[1]->surface().SetPicture(GradientPicture(composite.width(), composite.height()));
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    main.BTN_Click(0);
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));

    EXPECT_EQ(view->frameGeometry().size(), screen);
    EXPECT_EQ(view->Board->size(), composite);
    auto* scroller = view->findChild<QScrollArea*>();
    ASSERT_NE(scroller, nullptr);
    EXPECT_EQ(scroller->horizontalScrollBar()->maximum(),
              composite.width() - scroller->viewport()->width());
    EXPECT_EQ(scroller->verticalScrollBar()->maximum(),
              composite.height() - scroller->viewport()->height());
    // Scrolled to the far corner, the mouse still speaks in the composite's pixels.
    scroller->horizontalScrollBar()->setValue(scroller->horizontalScrollBar()->maximum());
    scroller->verticalScrollBar()->setValue(scroller->verticalScrollBar()->maximum());
    view->Shape1->move(composite.width() - 40, composite.height() - 30);
    Press({composite.width() - 1, composite.height() - 1});
    EXPECT_EQ(view->Dragging, -1);
    EXPECT_EQ(view->GrabOffsetX, -39);
}

TEST_F(View, TheTimerRecoloursTheMarker)
{
    EXPECT_TRUE(view->TMC->isActive());
    EXPECT_EQ(view->TMC->interval(), 100);
    const QColor before = view->Shape1->BorderColor();
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->Shape1->BorderColor() != before; }, 2000));
}
} // namespace
