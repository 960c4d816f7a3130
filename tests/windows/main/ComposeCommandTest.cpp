// "合成" and the composite view it loads, reused while shown.
#include "support/PixelAssert.h"
#include "windows/main/MainWindowFixture.h"
#include "windows/view/frmView.h"

#include <QCoreApplication>

namespace {
using ComposeCommand = MainWindowTest;

// Nothing composes while either picture is missing; a closed view has freed itself.
TEST_F(ComposeCommand, NeedsBothPicturesReusesAShownViewAndRecreatesAClosedOne)
{
    const QImage front = NoisePicture(40, 30, 1), back = GradientPicture(120, 90);
    for (const int missing : {0, 1}) {
        Holder(missing).SetPicture(std::nullopt);
        Holder(1 - missing).SetPicture(missing ? front : back);
        QTest::mouseClick(&Btn(0), Qt::LeftButton);
        EXPECT_EQ(form.View(), nullptr) << "slot " << missing << " missing";
    }
    Holder(1).SetPicture(back);
    QTest::mouseClick(&Btn(0), Qt::LeftButton);
    frmView* const first = form.View();
    ASSERT_NE(first, nullptr);
    QTest::mouseClick(&Btn(0), Qt::LeftButton);
    EXPECT_EQ(form.View(), first);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(form.View(), nullptr);
    document.FrontX = 25, document.FrontY = -8;
    QTest::mouseClick(&Btn(0), Qt::LeftButton);
    ASSERT_NE(form.View(), nullptr);
    EXPECT_TRUE(form.View()->isVisible());
    EXPECT_EQ(Find<Shape>(*form.View(), "Shape1").Bounds(), QRect(QPoint(25, -8), front.size()));
    const QImage& board = Find<PictureBox>(*form.View(), "Board").surface().Image();
    EXPECT_TRUE(PixelIs(board, 25, 0, front.pixel(0, 8)));
    EXPECT_TRUE(PixelIs(board, 24, 0, back.pixel(24, 0)));
}
} // namespace
