// A background passed through in bands: its rows equal the loader's picture for every file of
// tests/data that streams, and the streamed file equals the whole composite's, byte for byte.
#include "codec/Codec.h"
#include "core/sources/SourcePicture.h"
#include "core/sources/SourceRows.h"
#include "core/surfaces/CodecBridge.h"
#include "core/surfaces/Surface.h"
#include "core/view/ExportComposite.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"
#include "support/FolderSnapshot.h"

#include <QDir>
#include <QTemporaryDir>

namespace {
const QColor kBackground(0x40, 0x80, 0xC0);

// The rows of `path`, read 7 at a time, as a picture; null when it does not stream.
QImage ReadInBands(const QString& path)
{
    const std::unique_ptr<RowReader> rows = OpenSourceRows(path, kBackground);
    if (!rows)
        return {};
    QImage picture(rows->Width(), rows->Height(), QImage::Format_RGB32);
    for (int top = 0; top < picture.height(); top += 7) {
        CodecSurface band = CodecView(picture, kBackground);
        band.bits += std::ptrdiff_t(top) * band.stride;
        if (rows->Read(band, std::min(7, picture.height() - top)) != 0)
            return {};
    }
    return picture;
}

// What the batch does to a band: something that depends on where each pixel lies.
bool Stamp(const CodecSurface& band, std::int32_t top)
{
    for (int y = 0; y < band.height; ++y)
        for (int x = (top + y) % 5; x < band.width; x += 5)
            band.bits[std::ptrdiff_t(y) * band.stride + x * 4] ^= std::uint8_t(top + y);
    return true;
}
} // namespace

// Every picture of tests/data that streams gives the loader's very pixels; those Qt turns
// upright, CMYK photos and interlaced PNGs are left to the loader, as are files it refuses.
TEST(SourceRows, EveryStreamedTestPictureEqualsTheLoadersPicture)
{
    int streamed = 0;
    QStringList whole;
    for (const QString folder : {"jpeg", "pngsuite"}) {
        const QDir dir(LAYERPIX_TESTDATA "/" + folder);
        for (const QString& name : dir.entryList({"*.jpg", "*.png"}, QDir::Files)) {
            SCOPED_TRACE(name.toStdString());
            const QImage rows = ReadInBands(dir.filePath(name));
            const LoadedPicture loaded = LoadSourcePicture(dir.filePath(name), kBackground);
            if (rows.isNull()) {
                whole << name;
                continue;
            }
            ++streamed;
            ASSERT_TRUE(loaded && *loaded);
            EXPECT_TRUE(SamePixels(**loaded, rows));
        }
    }
    EXPECT_GE(streamed, 130);
    for (const char* name : {"hopper_orientation_6.jpg", "pil_sample_cmyk.jpg", "basi2c08.png", "truncated_jpeg.jpg"})
        EXPECT_TRUE(whole.contains(name)) << name;
    for (const char* name : {"hopper.jpg", "hopper_gray.jpg", "pil_sample_rgb.jpg", "basn3p08.png", "basn6a16.png"})
        EXPECT_FALSE(whole.contains(name)) << name;
}

// Large enough for the JPEG writer's restart markers and many bands, with metadata: the
// streamed file is the whole composite's. A damaged PNG is left to the loader with nothing
// written, and a file that is there already is kept.
TEST(StreamedComposite, WritesTheWholeCompositesFileAndNothingWhenItCannot)
{
    QTemporaryDir folder;
    const QImage photo = NoisePicture(2100, 1100, 3);
    const PictureMetadata metadata{{'M', 'M', 0, 42, 0, 0, 0, 8, 0, 0}, {}, {}, "<x:xmpmeta/>"};
    const SaveOptions options{12, 0, 1};
    for (const char* background : {"photo.jpg", "photo.png"}) {
        const QString path = WriteFile(folder.filePath(background), EncodedPicture(photo, QFileInfo(background).suffix().toLatin1()));
        LoadedPicture loaded = LoadSourcePicture(path, kBackground);
        ASSERT_TRUE(loaded && *loaded);
        const std::unique_ptr<Surface> whole = SurfaceHolding(**loaded);
        CodecSurface all = CodecView(*whole);
        Stamp(all, 0);
        for (const SaveFormat format : {SaveFormat::Jpeg, SaveFormat::Png}) {
            SCOPED_TRACE(std::string(background) + (format == SaveFormat::Jpeg ? " as JPEG" : " as PNG"));
            const QString expected = folder.filePath("whole"), actual = folder.filePath("streamed");
            ASSERT_TRUE(WriteComposite(*whole, expected, format, options, metadata));
            const std::unique_ptr<RowReader> rows = OpenSourceRows(path, kBackground);
            ASSERT_TRUE(rows);
            const Result<bool> streamed = WriteStreamedComposite(*rows, Stamp, actual, format, options, metadata);
            ASSERT_TRUE(streamed && *streamed);
            EXPECT_TRUE(ReadBytes(expected.toStdString()) == ReadBytes(actual.toStdString()));
        }
    }
    const std::unique_ptr<RowReader> rows = OpenSourceRows(folder.filePath("photo.png"), kBackground);
    EXPECT_FALSE(WriteStreamedComposite(*rows, Stamp, folder.filePath("streamed"), SaveFormat::Png, options, {}, Existing::Keep));

    QByteArray damaged = EncodedPicture(NoisePicture(300, 300, 4), "PNG");
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 0x40);
    const QString path = WriteFile(folder.filePath("damaged.png"), damaged);
    const std::unique_ptr<RowReader> damagedRows = OpenSourceRows(path, kBackground);
    ASSERT_TRUE(damagedRows);
    const Result<bool> streamed = WriteStreamedComposite(*damagedRows, Stamp, folder.filePath("out.png"), SaveFormat::Png, options);
    EXPECT_TRUE(streamed && !*streamed);
    EXPECT_FALSE(QFile::exists(folder.filePath("out.png")));
    EXPECT_FALSE(LoadSourcePicture(path, kBackground));
}
