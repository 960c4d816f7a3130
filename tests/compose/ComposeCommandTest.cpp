#include "app/FrontPosition.h"
#include "app/Settings.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"
#include "ui/frmMain.h"
#include "ui/frmView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {
class ComposeCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        FrontX = FrontY = 0;
        Settings.TransColor = 0x00FF00FF;
        Settings.TransRate = 100;
        main.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    }

    void LoadBoth()
    {
        main.PicImg[0]->surface().SetPicture(front);
        main.PicImg[1]->surface().SetPicture(back);
    }

    void PressCompose() { QTest::mouseClick(main.BTN[0], Qt::LeftButton); }

    static void FlushClosedWindows()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    const QImage front = TestDataPicture(QStringLiteral("jpeg/hopper.jpg"));
    const QImage back = TestDataPicture(QStringLiteral("jpeg/testorig.jpg"));
    frmMain main;
};

TEST_F(ComposeCommand, OneMissingPictureNeitherCreatesNorShowsTheView)
{
    for (const int loaded : {0, 1}) {
        frmMain only;
        only.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&only));
        only.PicImg[loaded]->surface().SetPicture(loaded == 0 ? front : back);
        QTest::mouseClick(only.BTN[0], Qt::LeftButton);
        EXPECT_TRUE(only.View.isNull()) << "only slot " << loaded << " loaded";
    }
}

TEST_F(ComposeCommand, FirstPressCreatesComposesAtTheOriginAndShowsTheView)
{
    ASSERT_FALSE(front.isNull());
    LoadBoth();
    PressCompose();
    ASSERT_FALSE(main.View.isNull());
    frmView& view = *main.View;
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.parentWidget(), nullptr);
    const QImage& board = view.Board->surface().Image();
    EXPECT_EQ(board.size(), back.size());
    EXPECT_EQ(view.Shape1->geometry(), QRect(QPoint(0, 0), front.size()));
    EXPECT_TRUE(SamePixels(front, board.copy(QRect(QPoint(0, 0), front.size()))));
    EXPECT_TRUE(PixelIs(board, 200, 10, back.pixel(200, 10)));
}

TEST_F(ComposeCommand, AShownViewIsReusedAndChangesOnlyWithTheNextPress)
{
    LoadBoth();
    PressCompose();
    const QPointer<frmView> first = main.View;
    const QImage before = first->Board->surface().Image().copy();
    Settings.TransRate = 0;
    EXPECT_TRUE(SamePixels(before, first->Board->surface().Image()));
    PressCompose();
    EXPECT_EQ(main.View, first);
    EXPECT_TRUE(SamePixels(back, first->Board->surface().Image()));
}

TEST_F(ComposeCommand, ComposingAfterTheViewWasClosedRecreatesItAtTheLastPosition)
{
    LoadBoth();
    PressCompose();
    main.View->close();
    FlushClosedWindows();
    ASSERT_TRUE(main.View.isNull());

    FrontX = 25;   // where the last drag left the foreground
    FrontY = -8;
    PressCompose();
    ASSERT_FALSE(main.View.isNull());
    EXPECT_TRUE(main.View->isVisible());
    EXPECT_EQ(main.View->Dragging, 0);
    EXPECT_EQ(main.View->Shape1->geometry(), QRect(QPoint(25, -8), front.size()));
    EXPECT_TRUE(PixelIs(main.View->Board->surface().Image(), 25, 0, front.pixel(0, 8)));
    EXPECT_TRUE(PixelIs(main.View->Board->surface().Image(), 24, 0, back.pixel(24, 0)));
}
} // namespace
