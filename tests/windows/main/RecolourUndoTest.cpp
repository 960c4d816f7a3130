// Ctrl+Z and Ctrl+Y in the main window, on a foreground opened from a file.
#include "MainWindowFixture.h"
#include "base/ColorRef.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"
#include "windows/view/frmView.h"

#include <QPainter>

namespace {
const QPoint kWhitePoint(0, 0), kRedPoint(6, 4), kMagentaPoint(20, 2);

class RecolourUndo : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // A white backdrop with a red square and a magenta bar, the key colour to begin with.
        QImage picture(30, 20, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter(&picture).fillRect(5, 3, 4, 4, QColor(255, 0, 0));
        QPainter(&picture).fillRect(15, 2, 10, 1, QColor(255, 0, 255));
        ASSERT_TRUE(picture.save(frontPath, "PNG"));
        Settings.TransColor = RGB(255, 0, 255);
        form.OpenSourcePicture(frontPath, 0);
    }
    void Click(QPoint at) { QTest::mouseClick(form.AREA[0], Qt::LeftButton, {}, PanePoint(0, at)); }
    // Keys go to the control with the focus, which leaves them to the window.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QTest::keyClick(form.BTN[0], key, modifiers);
    }

    const QString frontPath = folder.filePath("front.png");
};

TEST_F(RecolourUndo, CtrlZTakesTheClicksBackOneByOneAndCtrlYDoesThemAgain)
{
    std::vector<QImage> states{Holder().copy()};
    Click(kWhitePoint);
    states.push_back(Holder().copy());
    Click(kMagentaPoint);   // already the key: nothing to take back
    EXPECT_TRUE(SamePixels(states.back(), Holder()));
    Settings.TransColor = RGB(0, 255, 0);
    Click(kRedPoint);
    states.push_back(Holder().copy());
    Click(kMagentaPoint);   // the bar and the old backdrop, now green
    states.push_back(Holder().copy());

    for (std::size_t i = states.size() - 1; i > 0; --i) {
        SCOPED_TRACE(::testing::Message() << "undo to state " << i - 1);
        Key(Qt::Key_Z);
        EXPECT_TRUE(SamePixels(states[i - 1], Holder()));
        EXPECT_TRUE(SamePixels(states[i - 1], form.AREA[0]->surface().Image().copy(QRect(0, 0, 30, 20))));
        EXPECT_TRUE(PixelIs(LoupeImage(), 36, 36, states[i - 1].pixel(kMagentaPoint)));
    }
    Key(Qt::Key_Z);
    EXPECT_TRUE(SamePixels(states[0], Holder())) << "nothing before the loaded picture";
    EXPECT_TRUE(SamePixels(states[0], *form.PicImg[0]->surface().Picture()));

    Key(Qt::Key_Y);
    EXPECT_TRUE(SamePixels(states[1], Holder()));
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(SamePixels(states[2], Holder()));
    QTest::keyClick(form.FLD[0], Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(SamePixels(states[2], Holder())) << "the path field keeps Ctrl+Z for its text";

    // The next composition, opaque and with a key the picture lacks, shows what the pane shows.
    form.PicImg[1]->surface().SetPicture(GradientPicture(50, 40));
    Settings.TransColor = RGB(1, 2, 3);
    Settings.TransRate = 100;
    form.BTN_Click(0);
    EXPECT_TRUE(SamePixels(states[2], form.View->Board->surface().Image().copy(0, 0, 30, 20)));
}

TEST_F(RecolourUndo, ANewForegroundForgetsTheClicksAFailedLoadDoesNot)
{
    const QImage loaded = Holder().copy();
    Click(kWhitePoint);
    form.OpenSourcePicture(folder.filePath("missing.png"), 0);
    Key(Qt::Key_Z);
    EXPECT_TRUE(SamePixels(loaded, Holder()));

    const QString other = folder.filePath("other.png");
    ASSERT_TRUE(NoisePicture(30, 20, 7).save(other, "PNG"));
    for (const QString& path : {other, QString()}) {   // a picture of the same size; an empty path
        SCOPED_TRACE(path.toStdString());
        form.OpenSourcePicture(frontPath, 0);
        Click(kWhitePoint);
        form.OpenSourcePicture(path, 0);
        const QImage opened = Holder().copy();
        Key(Qt::Key_Z);
        EXPECT_TRUE(SamePixels(opened, Holder()));
    }
}
} // namespace
