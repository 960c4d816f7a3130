#include "SourcesTestSupport.h"

#include "app/FrontPosition.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"
#include "ui/frmMain.h"

#include <QFile>

QString PictureFolder::Write(const QString& name, const QImage& picture, const char* format)
{
    EXPECT_TRUE(picture.save(dir.filePath(name), format)) << name.toStdString();
    return dir.filePath(name);
}

QString PictureFolder::WriteBytes(const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    return file.fileName();
}

SlotSnapshot Snapshot(frmMain& form, std::int16_t slot)
{
    const Surface& holder = form.PicImg[slot]->surface();
    const ScrollBar &h = *form.HSCR[slot], &v = *form.VSCR[slot];
    return {{holder.Picture().value_or(QImage()), holder.Image().copy(), form.AREA[slot]->surface().Image().copy()},
            form.FLD[slot]->text(),
            {FrontX, FrontY, h.value(), h.maximum(), h.isHidden(), v.value(), v.maximum(), v.isHidden()}};
}

::testing::AssertionResult SlotUnchanged(const SlotSnapshot& before, frmMain& form, std::int16_t slot)
{
    const SlotSnapshot now = Snapshot(form, slot);
    const char* names[] = {"the slot's picture", "the working image", "the pane"};
    for (int i = 0; i < 3; ++i)
        if (auto same = SamePixels(before.images[i], now.images[i]); !same)
            return ::testing::AssertionFailure() << names[i] << " changed: " << same.message();
    if (before.path != now.path)
        return ::testing::AssertionFailure() << "the path field became " << now.path.toStdString();
    if (before.numbers != now.numbers)
        return ::testing::AssertionFailure() << "the foreground position or the scroll bars changed";
    return ::testing::AssertionSuccess();
}

void PrepareUsedSlot(frmMain& form, std::int16_t slot, PictureFolder& folder)
{
    form.OpenSourcePicture(folder.Write("used.bmp", NoisePicture(300, 250, 1), "BMP"), slot);
    ASSERT_TRUE(form.PicImg[slot]->surface().HasPicture());
    form.HSCR[slot]->SetValue(10);
    form.VSCR[slot]->SetValue(20);
    FrontX = 5;
    FrontY = 6;
    form.PicImg[slot]->surface().hDC().setPixel(1, 1, qRgb(1, 2, 3));
}
