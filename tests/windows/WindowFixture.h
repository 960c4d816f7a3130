#pragma once
#include "core/document/Document.h"
#include "support/Controls.h"
#include "support/PixelAssert.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPictures.h"
#include "windows/main/frmMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The main window shown on a document whose settings file lies in a temporary folder; modal
// dialogs are answered from scripts.
class WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    template <typename Control = PictureBox>
    Control& At(const char* name, int index)
    {
        return Find<Control>(form, QStringLiteral("%1(%2)").arg(name).arg(index));
    }
    TextField& Fld(int slot) { return At<TextField>("FLD", slot); }
    void Click(const char* button, int index) { QTest::mouseClick(&At<PushButton>(button, index), Qt::LeftButton); }
    Surface& Holder(int slot) { return document.PicImg[slot]; }
    const QImage& Pane(int slot) { return At("AREA", slot).surface().Image(); }
    void Scroll(int slot, QPoint to)
    {
        At<ScrollBar>("HSCR", slot).SetValue(std::int16_t(to.x()));
        At<ScrollBar>("VSCR", slot).SetValue(std::int16_t(to.y()));
    }
    // `bytes`, or `picture` in `format` (by default the name's), as `name` in the folder; its
    // path, empty for a picture that could not be written.
    QString Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }
    QString Write(const QString& name, const QImage& picture, const char* format = nullptr)
    {
        return picture.save(folder.filePath(name), format) ? folder.filePath(name) : QString();
    }

    QTemporaryDir folder;
    Document document{SettingsRecord{.IniPath = folder.filePath(QStringLiteral("Layerpix.ini"))}};
    SettingsRecord& settings = document.Settings;
    const QImage front = NoisePicture(40, 30, 1), back = GradientPicture(120, 90);
    ScriptedDialogsScope dialogs;
    frmMain form{document};
};
