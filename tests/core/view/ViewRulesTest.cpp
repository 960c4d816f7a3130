// The composite view's plain rules: its bitmap file, the name a save settles on, size and zoom.
#include "core/view/BmpFile.h"
#include "core/view/SaveName.h"
#include "core/view/ViewSizing.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

namespace {
// Rows padded to 4 bytes, which Qt's reader must read back for every padding.
TEST(BmpFile, ReadsBackForEveryRowPadding)
{
    for (const int width : {1, 2, 3, 4, 5, 127}) {
        const QImage picture = NoisePicture(width, 3, std::uint32_t(width));
        const BmpBytes bytes = EncodeBmp(picture);
        const QImage decoded = QImage::fromData(bytes.data(), int(bytes.size()), "BMP");
        EXPECT_TRUE(SamePixels(picture, decoded.convertToFormat(QImage::Format_RGB32))) << "width " << width;
    }
}

// Only U+0020 counts as a space. Filters 2 to 4 force their format; the first, and any other,
// goes by the typed extension in any case; .jpeg and .jpe are JPEG as .jpg is.
TEST(SaveName, TrimsTheTypedNameThenTheFilterOrTheExtensionPicksTheFormat)
{
    for (const auto& [answer, name] : {std::pair<std::u16string_view, std::u16string_view>{u"/a b /  c  ", u"/a b /c"},
                                       {u"/f/   ", u""}, {u"  bare", u"bare"}, {u"/f/\u3000x\u3000", u"/f/\u3000x\u3000"}})
        EXPECT_EQ(TrimTypedName(answer).toStdU16String(), name);
    const struct { const char16_t* typed; int filter; const char16_t* name; SaveFormat format; } rows[] = {
        {u"photo", 1, u"photo.BMP", SaveFormat::Bmp}, {u"photo", 3, u"photo.JPG", SaveFormat::Jpeg},
        {u"photo", 4, u"photo.PNG", SaveFormat::Png}, {u"写真.Jpg", 1, u"写真.Jpg", SaveFormat::Jpeg},
        {u"photo.png", 2, u"photo.png.BMP", SaveFormat::Bmp}, {u"photo.bMp", 2, u"photo.bMp", SaveFormat::Bmp},
        {u"photo.jpeg", 3, u"photo.jpeg", SaveFormat::Jpeg}, {u"photo.JPE", 1, u"photo.JPE", SaveFormat::Jpeg},
        {u"photo.jpeg", 2, u"photo.jpeg.BMP", SaveFormat::Bmp}, {u"a.png/b", 1, u"a.png/b.BMP", SaveFormat::Bmp},
        {u".png", 5, u".png", SaveFormat::Png}};
    for (const auto& row : rows) {
        const SaveTarget target = SettleSaveName(QString::fromUtf16(row.typed), row.filter);
        EXPECT_EQ(std::pair(target.name, target.format), std::pair(QString::fromUtf16(row.name), row.format))
            << QString::fromUtf16(row.typed).toStdString() << " with filter " << row.filter;
    }
}

// Room for 500 x 400 pixels, scroll bars 17 pixels thick.
TEST(ViewClientSize, FitsTheCompositeUpToTheRoomLeavingSpaceForScrollBars)
{
    const QSize rows[][2] = {{{100, 80}, {100, 80}}, {{500, 80}, {500, 80}}, {{100, 400}, {100, 400}},
                             {{501, 80}, {500, 97}}, {{600, 383}, {500, 400}}, {{100, 401}, {117, 400}},
                             {{490, 500}, {500, 400}}, {{900, 700}, {500, 400}}};
    for (const auto& [composite, client] : rows)
        EXPECT_EQ(ViewClientSize(composite, QSize(500, 400), 17), client) << composite.width() << " x " << composite.height();
}

// The fit shows the whole composite, filling the tighter side; a step climbs the rungs
// ... 1/3, 1/2, 1, 2, 3 ... 8 between the fit and eight.
TEST(Zoom, TheFitShowsTheWholeCompositeAndStepsClimbTheRungsBetweenItAndOne)
{
    const struct { QSize composite, room; double zoom; } fits[] = {
        {{500, 400}, {500, 400}, 1.0}, {{1000, 1600}, {500, 400}, 0.25}, {{9001, 6007}, {1277, 997}, 0.14187},
        {{300, 200}, {0, -5}, 1.0 / 300}};
    for (const auto& [composite, room, zoom] : fits)
        EXPECT_NEAR(FitZoom(composite, room), zoom, 5e-5) << composite.width() << " x " << composite.height();
    const struct { double zoom, fit; int steps; double stepped; } steps[] = {
        {1.0 / 3 * (1 + 1e-12), 0.3, -1, 0.3}, {0.3, 0.3, 1, 1.0 / 3}, {0.4, 0.1, 1, 0.5},
        {0.4, 0.1, -1, 1.0 / 3}, {0.5, 0.1, 5, 5.0}, {1.0, 1.0, -1, 1.0}, {1.0, 0.5, 1, 2.0},
        {2.5, 0.5, -1, 2.0}, {2.5, 0.5, 1, 3.0}, {7.0, 0.5, 3, 8.0}, {3.0, 0.25, -4, 1.0 / 3}};
    for (const auto& [zoom, fit, count, stepped] : steps)
        EXPECT_DOUBLE_EQ(SteppedZoom(zoom, fit, count), stepped) << zoom << " by " << count << " steps, fit " << fit;
}
} // namespace
