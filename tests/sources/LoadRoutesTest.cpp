// Which loader a file reaches, what a failed load leaves behind, and pictures at the
// edges of the picture limit.
#include "SourcesTestSupport.h"

#include "app/FrontPosition.h"
#include "support/PixelAssert.h"
#include "ui/frmMain.h"

#include <QFile>
#include <QtEndian>

namespace {
QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A PNG file whose header states `width` x `height`; the pixel data is that of a
// 100 x 100 picture.
QByteArray PngStating(PictureFolder& folder, quint32 width, quint32 height)
{
    QByteArray bytes =
        FileBytes(folder.Write(QStringLiteral("real.png"), PatternPicture(100, 100), "PNG"));
    qToBigEndian(width, bytes.data() + 16);
    qToBigEndian(height, bytes.data() + 20);
    return bytes;
}

// A 24-bit BMP header stating `width` x `height`, without the pixels.
QByteArray BmpHeaderStating(qint32 width, qint32 height)
{
    QByteArray bytes(54, '\0');
    char* p = bytes.data();
    p[0] = 'B';
    p[1] = 'M';
    qToLittleEndian<quint32>(54 + 4096, p + 2);
    qToLittleEndian<quint32>(54, p + 10);
    qToLittleEndian<quint32>(40, p + 14);
    qToLittleEndian<qint32>(width, p + 18);
    qToLittleEndian<qint32>(height, p + 22);
    qToLittleEndian<quint16>(1, p + 26);
    qToLittleEndian<quint16>(24, p + 28);
    return bytes + QByteArray(4096, '\x40');
}

class LoadRoutes : public ::testing::Test {
protected:
    PictureFolder folder;
    frmMain form;
};

TEST_F(LoadRoutes, TheNameEndingPicksTheLoaderAndAnUnreadablePngIsNotRetried)
{
    const QImage picture = PatternPicture(40, 30);
    struct Case {
        const char* name;
        const char* format;
        std::int16_t status;
    };
    const Case cases[] = {
        {"lower.png", "PNG", 0},
        {"UPPER.PNG", "PNG", 0},
        {"mixed.pNg", "PNG", 0},
        // Only the general loader reads a BMP, so this one fails on the PNG route.
        {"bitmap.png", "BMP", 1},
        {"bitmap.PNG", "BMP", 1},
        // Everything else is recognised by its content.
        {"png-inside.bmp", "PNG", 0},
        {"png-inside.dat", "PNG", 0},
        {"photo.jpeg", "JPG", 0},
        {"bitmap-inside.jpg", "BMP", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PrepareUsedSlot(form, 0, folder);
        const SlotSnapshot before = Snapshot(form, 0);
        const QString path = folder.Write(QString::fromLatin1(c.name), picture, c.format);
        ASSERT_EQ(form.LoadSourceImage(path, 0), c.status);
        if (c.status != 0) {
            EXPECT_TRUE(SlotUnchanged(before, form, 0));
            continue;
        }
        const int tolerance = QByteArray(c.format) == "JPG" ? 40 : 0;
        EXPECT_TRUE(SamePixels(picture, *form.PicImg[0]->surface().Picture(), tolerance));
        EXPECT_EQ(form.FLD[0]->text(), path);
    }
}

TEST_F(LoadRoutes, AHolderTakesExactlyThePicturesSize)
{
    for (const char* format : {"PNG", "BMP"}) {
        SCOPED_TRACE(format);
        const QString path = folder.Write(QStringLiteral("300x200.") + format,
                                          PatternPicture(300, 200), format);
        ASSERT_EQ(form.LoadSourceImage(path, 1), 0);
        EXPECT_EQ(form.PicImg[1]->surface().Image().size(), QSize(300, 200));
        EXPECT_TRUE(SamePixels(PatternPicture(300, 200), form.PicImg[1]->surface().Image()));
    }
}

TEST_F(LoadRoutes, AFailedOpenLeavesSlotPaneScrollBarsPathAndPositionAsTheyWere)
{
    const QByteArray png = FileBytes(folder.Write("good.png", PatternPicture(64, 64), "PNG"));
    const QString failing[] = {
        folder.Path("missing.bmp"),
        folder.Path(QString()),                        // a folder
        folder.WriteBytes("empty.bmp", QByteArray()),
        folder.WriteBytes("text.jpg", "just some text, no picture"),
        folder.WriteBytes("truncated.png", png.left(png.size() / 2)),
        folder.WriteBytes("damaged.png", png.left(40) + QByteArray(60, '\xAA') + png.mid(100)),
        folder.WriteBytes("huge.bmp", BmpHeaderStating(20000, 15000)),
        folder.WriteBytes("tall.bmp", BmpHeaderStating(1, 2000000)),
    };
    for (std::int16_t slot : {0, 1}) {
        PrepareUsedSlot(form, slot, folder);
        for (const QString& path : failing) {
            SCOPED_TRACE(path.toStdString());
            const SlotSnapshot before = Snapshot(form, slot);
            form.FLD[slot]->setText(QStringLiteral("typed but not opened"));
            const SlotSnapshot typed = Snapshot(form, slot);
            form.OpenSourcePicture(path, slot);
            EXPECT_TRUE(SlotUnchanged(typed, form, slot));
            form.FLD[slot]->setText(before.path);
        }
    }
}

TEST_F(LoadRoutes, ShortPngFilesAndForgedSizesAreRefused)
{
    const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    PrepareUsedSlot(form, 0, folder);
    const SlotSnapshot before = Snapshot(form, 0);
    for (int length = 0; length <= 23; ++length) {
        SCOPED_TRACE(length);
        const QByteArray bytes = (signature + QByteArray(16, '\x01')).left(length);
        EXPECT_EQ(form.LoadSourceImage(folder.WriteBytes("short.png", bytes), 0), 1);
    }
    const struct {
        quint32 width, height;
    } forged[] = {
        {65536 + 100, 100},    // not to be taken as 100 wide
        {100, 65536 + 100},
        {20000, 20000},        // 400 megapixels, beyond the picture limit
        {0x7FFFFFFF, 0x7FFFFFFF},
        {0xFFFFFFFF, 1},
        {0, 100},
    };
    for (const auto& size : forged) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        const QString path = folder.WriteBytes("forged.png", PngStating(folder, size.width, size.height));
        EXPECT_EQ(form.LoadSourceImage(path, 0), 1);
    }
    EXPECT_TRUE(SlotUnchanged(before, form, 0));
}

// A camera-sized picture: plain colour with a marked 16 x 16 corner block each way, so
// both writers finish fast and a lost or shifted row shows.
QImage CameraSizedPicture()
{
    QImage picture(8672, 5776, QImage::Format_RGB32); // 50.1 megapixels
    picture.fill(qRgb(40, 90, 160));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            picture.setPixel(x, y, qRgb(250, 250, 250));
            picture.setPixel(picture.width() - 16 + x, picture.height() - 16 + y, qRgb(250, 0, 0));
        }
    return picture;
}

TEST_F(LoadRoutes, FiftyMegapixelPicturesLoadThroughBothRoutes)
{
    const QImage picture = CameraSizedPicture();
    for (const char* name : {"camera.jpg", "camera.png"}) {
        SCOPED_TRACE(name);
        const bool jpeg = QByteArray(name).endsWith("jpg");
        const QString path = folder.Write(name, picture, jpeg ? "JPG" : "PNG");
        ASSERT_EQ(form.LoadSourceImage(path, 1), 0);
        const QImage& held = form.PicImg[1]->surface().Image();
        ASSERT_EQ(held.size(), picture.size());
        const int tolerance = jpeg ? 6 : 0;
        for (const QPoint p : {QPoint(8, 8), QPoint(4000, 3000), QPoint(8663, 5767)})
            EXPECT_TRUE(SamePixels(picture.copy(QRect(p, QSize(1, 1))),
                                   held.copy(QRect(p, QSize(1, 1))), tolerance))
                << "at " << p.x() << ", " << p.y();
    }
}
} // namespace
