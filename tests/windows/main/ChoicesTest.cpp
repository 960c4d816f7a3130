// The main window's choices menu: where it opens, the foreground's own transparency and the key's tolerance.
#include "support/ExpectedComposite.h"
#include "windows/WindowFixture.h"
#include "windows/view/frmView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSpinBox>

namespace {
class Choices : public WindowTest {
protected:
    QMenu& Menu() { return Find<QMenu>(form, "Choices"); }
    // A right-click at `at` of `widget`, passed up to the window as Qt does when the widget has no menu.
    bool OpensMenuAt(QWidget& widget, QPoint at)
    {
        Menu().hide();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget.mapToGlobal(at));
        QApplication::sendEvent(&widget, &event);
        return Menu().isVisible();
    }
    void Choose(const char* entry)
    {
        QAction* action = Menu().findChild<QAction*>(entry);
        QTest::mouseClick(&Menu(), Qt::LeftButton, {}, Menu().actionGeometry(action).center());
    }
};

// Left third see-through, a column half covering, the rest opaque noise; one opaque pixel of the key.
QImage TransparentLogo()
{
    QImage logo = NoisePicture(40, 30, 4).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 14; ++x)
            logo.setPixel(x, y, x < 13 ? qRgba(10, 20, 30, 0) : qRgba(200, 40, 90, 128));
    logo.setPixel(20, 20, qRgb(1, 2, 3));
    return logo;
}

// On a pane a right-click picks a colour, so the menu opens only beside them. Ticked, the
// foreground is decoded again keeping its transparency, shown over a checkerboard, covering the
// background by it in the composite, with the clicks made before; a click on a see-through pixel
// picks nothing. Unticked,
// everything is as before.
TEST_F(Choices, TheAlphaChoiceOpensBesideThePanesAndKeepsShowsAndComposesTheTransparency)
{
    EXPECT_FALSE(OpensMenuAt(At("AREA", 0), {5, 5}));
    EXPECT_FALSE(OpensMenuAt(At("AREA", 1), {5, 5}));
    EXPECT_TRUE(OpensMenuAt(form, {form.width() - 3, form.height() - 3}));
    QImage logo = TransparentLogo();
    form.OpenSourcePicture(Write("logo.png", logo), 0);
    form.OpenSourcePicture(Write("back.png", back), 1);
    settings.TransColor = RGB(1, 2, 3);
    // A click before the choice is done again on the foreground read anew.
    form.AREA_MouseDown(0, 1, 0, 30, 10);
    const QImage flat = Pane(0).copy();
    for (int i = 0; i < 30 * 40; ++i)
        if (QRgb& p = reinterpret_cast<QRgb*>(logo.bits())[i]; p == TransparentLogo().pixel(30, 10))
            p = 0xFF010203;
    for (const int alpha : {1, 0}) {
        Choose("mnuAlpha");
        EXPECT_EQ(settings.Alpha, alpha);
        const QImage pane = Pane(0).copy();
        if (alpha == 0) {
            EXPECT_TRUE(SamePixels(flat, pane));
            continue;
        }
        EXPECT_TRUE(PixelIs(pane, 1, 1, 0xCCCCCC) && PixelIs(pane, 5, 1, 0xFFFFFF) && PixelIs(pane, 1, 5, 0xFFFFFF));
        EXPECT_TRUE(SamePixels(flat.copy(14, 0, 26, 30), pane.copy(14, 0, 26, 30)));
        const QImage before = Holder(0).Image().copy();
        form.AREA_MouseDown(0, 1, 0, 2, 2);
        EXPECT_EQ(before, Holder(0).Image());
        document.FrontX = 7, document.FrontY = 9, settings.TransRate = 80;
        Click("BTN", 0);
        ASSERT_NE(form.View(), nullptr);
        EXPECT_TRUE(SamePixels(ExpectedComposite(logo, back, {7, 9}, 80, 0xFF010203),
                               Find<PictureBox>(*form.View(), "Board").surface().Image()));
    }
}

// The dialog shows the tolerance of the moment; OK stores what it holds unless nothing changed
// (so a file without the key stays without it), キャンセル and the close box store nothing.
TEST_F(Choices, TheToleranceDialogStoresOnlyAChangeConfirmed)
{
    const struct { std::optional<std::int16_t> before; int value; QString button; std::optional<std::int16_t> after; int shown; }
        rows[] = {{{}, 0, "BTN(0)", {}, 0}, {{}, 20, "BTN(0)", 20, 0}, {20, 100, "BTN(0)", 100, 20},
                  {20, 0, "BTN(0)", 0, 20}, {20, 50, "BTN(1)", 20, 20}, {{}, 50, "", {}, 0}};
    for (const auto& row : rows) {
        settings.KeyTolerance = row.before;
        int shown = -1;
        dialogs->modalScripts.push_back([&](QDialog& dialog) {
            dialog.show();
            auto& box = Find<QSpinBox>(dialog, "SPN");
            shown = box.value();
            box.setValue(row.value);
            row.button.isEmpty() ? void(dialog.close()) : QTest::mouseClick(&Find<PushButton>(dialog, row.button), Qt::LeftButton);
        });
        ASSERT_TRUE(OpensMenuAt(form, {form.width() - 3, form.height() - 3}));
        Choose("mnuTolerance");
        EXPECT_EQ(std::pair(shown, settings.KeyTolerance), std::pair(row.shown, row.after)) << row.value;
    }
}

// The block choice flips the key the view's save reads (the save itself: ComposeCommandTest),
// shows its state, and says in its tool tip that the JPEG rate does not apply.
TEST_F(Choices, TheJpegBlockChoiceFlipsItsKey)
{
    QAction& entry = *Menu().findChild<QAction*>("mnuKeepJpegBlocks");
    EXPECT_TRUE(entry.toolTip().contains("圧縮率") && Menu().toolTipsVisible());
    for (const int kept : {1, 0}) {
        ASSERT_TRUE(OpensMenuAt(form, {form.width() - 3, form.height() - 3}));
        Choose("mnuKeepJpegBlocks");
        EXPECT_EQ(settings.KeepJpegBlocks, kept);
        ASSERT_TRUE(OpensMenuAt(form, {form.width() - 3, form.height() - 3}));
        EXPECT_EQ(entry.isChecked(), kept == 1);
    }
}
} // namespace
