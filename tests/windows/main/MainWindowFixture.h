#pragma once
#include "support/TestPictures.h"
#include "windows/TemporaryDocument.h"
#include "windows/main/frmMain.h"

#include <QTimer>

// A shown main window on a document of its own, its blink stopped.
class MainWindowTest : public testing::Test, protected TemporaryDocument {
protected:
    void SetUp() override
    {
        Find<QTimer>(form, "TMC").stop();
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    template <typename Control>
    Control& At(const char* name, int index) { return Find<Control>(form, QStringLiteral("%1(%2)").arg(name).arg(index)); }
    PictureBox& Area(int slot) { return At<PictureBox>("AREA", slot); }
    TextField& Fld(int slot) { return At<TextField>("FLD", slot); }
    Label& Dsp(int index) { return At<Label>("DSP", index); }
    PushButton& Btn(int index) { return At<PushButton>("BTN", index); }
    const QImage& Pane(int slot) { return Area(slot).surface().Image(); }
    const QImage& Loupe() { return Find<PictureBox>(form, "Loupe").surface().Image(); }
    Surface& Holder(int slot) { return document.PicImg[slot]; }
    // Pane point `p` of AREA(slot) in the widget's own pixels, inside its border.
    QPoint Inside(int slot, QPoint p) { return p + QPoint(Area(slot).borderWidth(), Area(slot).borderWidth()); }
    void Click(int slot, QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(&Area(slot), button, {}, Inside(slot, p));
    }
    void Scroll(int slot, QPoint by)
    {
        At<ScrollBar>("HSCR", slot).SetValue(std::int16_t(by.x()));
        At<ScrollBar>("VSCR", slot).SetValue(std::int16_t(by.y()));
    }
    using TemporaryDocument::Write;
    // `picture` in `format` as `name` in the temporary folder; its path.
    QString Write(const QString& name, const QImage& picture, const char* format = "PNG")
    {
        return Write(name, EncodedPicture(picture, format));
    }

    frmMain form{document};
};
