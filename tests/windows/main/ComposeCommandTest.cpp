#include "support/PixelAssert.h"
#include "windows/view/ViewFixture.h"

#include <QCoreApplication>
#include <QEvent>

namespace {
using ComposeCommand = ViewFixture;

TEST_F(ComposeCommand, OneMissingPictureComposesNothing)
{
    for (const int loaded : {0, 1}) {
        frmMain only;
        only.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&only));
        only.PicImg[loaded]->surface().SetPicture(front);
        QTest::mouseClick(only.BTN[0], Qt::LeftButton);
        EXPECT_TRUE(only.View.isNull()) << "only slot " << loaded << " loaded";
    }
}

TEST_F(ComposeCommand, AShownViewIsReusedAndAClosedOneRecreatedAtTheLastPosition)
{
    QTest::mouseClick(main.BTN[0], Qt::LeftButton);
    EXPECT_EQ(main.View, view);
    view->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(main.View.isNull());

    FrontX = 25, FrontY = -8;
    QTest::mouseClick(main.BTN[0], Qt::LeftButton);
    ASSERT_FALSE(main.View.isNull());
    EXPECT_TRUE(main.View->isVisible());
    EXPECT_EQ(main.View->Dragging, 0);
    EXPECT_EQ(main.View->Shape1->geometry(), QRect(QPoint(25, -8), front.size()));
    EXPECT_TRUE(PixelIs(main.View->Board->surface().Image(), 25, 0, front.pixel(0, 8)));
    EXPECT_TRUE(PixelIs(main.View->Board->surface().Image(), 24, 0, back.pixel(24, 0)));
}
} // namespace
