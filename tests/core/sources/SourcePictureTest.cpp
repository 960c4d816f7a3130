// Which loader a source picture's name picks, on files written to a temporary folder.
#include "core/sources/SourcePicture.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <QPainter>
#include <QTemporaryDir>

namespace {
TEST(SourcePicture, TheNameEndingPicksTheLoaderAndARefusedPngIsNotRetried)
{
    QTemporaryDir folder;
    const struct { const char* name; const char* format; QSize size; bool opens; } cases[] = {
        {"lower.png", "PNG", {300, 200}, true}, {"mixed.pNg", "PNG", {40, 30}, true},
        {"wide.PNG", "PNG", {65536 + 100, 2}, true},   // the header's whole 32-bit width counts
        {"bitmap.PNG", "BMP", {40, 30}, false},        // only the general loader reads a BMP
        {"png-inside.dat", "PNG", {40, 30}, true},     // the general loader goes by content
        {"photo.jpeg", "JPG", {40, 30}, true}};
    for (const auto& c : cases) {
        const QImage picture = GradientPicture(c.size.width(), c.size.height());
        ASSERT_TRUE(picture.save(folder.filePath(c.name), c.format));
        const LoadedPicture loaded = LoadSourcePicture(folder.filePath(c.name), Qt::white);
        EXPECT_EQ(loaded && *loaded, c.opens) << c.name;
        EXPECT_TRUE(!c.opens || (loaded && *loaded && SamePixels(picture, **loaded, c.format[0] == 'J' ? 12 : 0))) << c.name;
    }
}

// Plain, so both writers finish fast; a marked block in two corners shows a lost row.
TEST(SourcePicture, FiftyMegapixelPicturesLoadThroughBothLoaders)
{
    QImage picture(8672, 5776, QImage::Format_RGB32);
    picture.fill(qRgb(40, 90, 160));
    QPainter(&picture).fillRect(0, 0, 16, 16, QColor(250, 250, 250));
    QPainter(&picture).fillRect(picture.width() - 16, picture.height() - 16, 16, 16, QColor(250, 0, 0));
    QTemporaryDir folder;
    for (const char* format : {"JPG", "PNG"}) {
        const QString path = folder.filePath(QStringLiteral("camera.") + format);
        ASSERT_TRUE(picture.save(path, format));
        const LoadedPicture result = LoadSourcePicture(path, Qt::white);
        ASSERT_TRUE(result && *result) << format;
        const QImage& loaded = **result;
        ASSERT_EQ(loaded.size(), picture.size()) << format;
        for (const QRect pixel : {QRect(8, 8, 1, 1), QRect(4000, 3000, 1, 1), QRect(8663, 5767, 1, 1)})
            EXPECT_TRUE(SamePixels(picture.copy(pixel), loaded.copy(pixel), format[0] == 'J' ? 6 : 0)) << format;
    }
}
} // namespace
