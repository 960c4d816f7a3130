#include "SourcesTestSupport.h"

#include "app/FrontPosition.h"
#include "support/PixelAssert.h"
#include "ui/frmMain.h"

#include <QDir>
#include <QFile>
#include <QImageWriter>

QImage PatternPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = qRgb(x & 0xFF, y & 0xFF, ((x >> 8) + (y >> 8) * 16) & 0xFF);
    }
    return picture;
}

PictureFolder::PictureFolder() = default;

QString PictureFolder::Path(const QString& name) const
{
    return dir_.filePath(name);
}

QString PictureFolder::Write(const QString& name, const QImage& picture, const char* format)
{
    QImageWriter writer(Path(name), format);
    EXPECT_TRUE(writer.write(picture)) << writer.errorString().toStdString();
    return Path(name);
}

QString PictureFolder::WriteBytes(const QString& name, const QByteArray& bytes)
{
    QFile file(Path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    return Path(name);
}

SlotSnapshot Snapshot(frmMain& form, std::int16_t slot)
{
    SlotSnapshot s;
    s.picture = form.PicImg[slot]->surface().Picture();
    s.working = form.PicImg[slot]->surface().Image().copy();
    s.pane = form.AREA[slot]->surface().Image().copy();
    s.path = form.FLD[slot]->text();
    s.frontX = FrontX;
    s.frontY = FrontY;
    s.hValue = form.HSCR[slot]->value();
    s.hMax = form.HSCR[slot]->maximum();
    s.vValue = form.VSCR[slot]->value();
    s.vMax = form.VSCR[slot]->maximum();
    s.hHidden = form.HSCR[slot]->isHidden();
    s.vHidden = form.VSCR[slot]->isHidden();
    return s;
}

::testing::AssertionResult SlotUnchanged(const SlotSnapshot& before, frmMain& form,
                                         std::int16_t slot)
{
    const SlotSnapshot now = Snapshot(form, slot);
    if (before.picture.has_value() != now.picture.has_value())
        return ::testing::AssertionFailure() << "the slot's picture came or went";
    if (before.picture) {
        if (auto same = SamePixels(*before.picture, *now.picture); !same)
            return ::testing::AssertionFailure() << "the slot's picture changed: " << same.message();
    }
    if (auto same = SamePixels(before.working, now.working); !same)
        return ::testing::AssertionFailure() << "the working image changed: " << same.message();
    if (auto same = SamePixels(before.pane, now.pane); !same)
        return ::testing::AssertionFailure() << "the pane changed: " << same.message();
    if (before.path != now.path)
        return ::testing::AssertionFailure() << "the path field became \""
                                             << now.path.toStdString() << "\"";
    if (before.frontX != now.frontX || before.frontY != now.frontY)
        return ::testing::AssertionFailure() << "the foreground moved to (" << now.frontX
                                             << ", " << now.frontY << ")";
    if (before.hValue != now.hValue || before.hMax != now.hMax || before.vValue != now.vValue
        || before.vMax != now.vMax || before.hHidden != now.hHidden
        || before.vHidden != now.vHidden)
        return ::testing::AssertionFailure() << "the scroll bars changed";
    return ::testing::AssertionSuccess();
}

void PrepareUsedSlot(frmMain& form, std::int16_t slot, PictureFolder& folder)
{
    const QString path = folder.Write(QStringLiteral("used.bmp"), PatternPicture(300, 250), "BMP");
    form.OpenSourcePicture(path, slot);
    ASSERT_TRUE(form.PicImg[slot]->surface().HasPicture());
    form.HSCR[slot]->SetValue(10);
    form.VSCR[slot]->SetValue(20);
    FrontX = 5;
    FrontY = 6;
    form.PicImg[slot]->surface().hDC().setPixel(1, 1, qRgb(1, 2, 3));
}
