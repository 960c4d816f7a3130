// The rules that turn what the user typed in the save dialog into the file to write.
#include "core/view/SaveName.h"

#include <QString>
#include <gtest/gtest.h>

namespace {
std::string Utf8(std::u16string_view text) { return QString::fromUtf16(text.data(), qsizetype(text.size())).toStdString(); }

// The dialog's answer is the folder, "/" and the typed text; only U+0020 counts as a space.
TEST(TrimTypedName, TrimsTheTypedNameAndKeepsTheFolder)
{
    const struct { std::u16string_view answer, name; } rows[] = {
        {u"/f/  sp  ", u"/f/sp"}, {u"/f/sp", u"/f/sp"}, {u"/f/   ", u""}, {u"/f/", u""}, {u"", u""},
        {u"/a b /  c  ", u"/a b /c"}, {u"/f/ my photo.png ", u"/f/my photo.png"}, {u"  bare  ", u"bare"},
        {u"/f/\u3000x\u3000", u"/f/\u3000x\u3000"}};
    for (const auto& row : rows)
        EXPECT_EQ(TrimTypedName(row.answer).toStdU16String(), row.name) << Utf8(row.answer);
}

// Filters 2 to 4 force their format; the first, and any other, goes by the typed extension,
// exactly the four characters of it in any case.
TEST(SettleSaveName, TheFilterForcesItsFormatAndTheFirstGoesByTheTypedExtension)
{
    const struct { std::u16string_view typed; std::int32_t filter; std::u16string_view name; SaveFormat format; } rows[] = {
        {u"photo", 1, u"photo.BMP", SaveFormat::Bmp}, {u"photo", 2, u"photo.BMP", SaveFormat::Bmp},
        {u"photo", 3, u"photo.JPG", SaveFormat::Jpeg}, {u"photo", 4, u"photo.PNG", SaveFormat::Png},
        {u"photo.png", 1, u"photo.png", SaveFormat::Png}, {u"photo.png", 2, u"photo.png.BMP", SaveFormat::Bmp},
        {u"photo.Jpg", 1, u"photo.Jpg", SaveFormat::Jpeg}, {u"photo.bMp", 2, u"photo.bMp", SaveFormat::Bmp},
        {u"photo.jpeg", 1, u"photo.jpeg.BMP", SaveFormat::Bmp}, {u"photo.jpeg", 3, u"photo.jpeg.JPG", SaveFormat::Jpeg},
        {u"photo.BMP", 4, u"photo.BMP.PNG", SaveFormat::Png}, {u".png", 1, u".png", SaveFormat::Png},
        {u"写真.png", 1, u"写真.png", SaveFormat::Png}, {u"photo.png", 0, u"photo.png", SaveFormat::Png},
        {u"photo", 5, u"photo.BMP", SaveFormat::Bmp}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << Utf8(row.typed) << " with filter " << row.filter);
        const SaveTarget target = SettleSaveName(row.typed, row.filter);
        EXPECT_EQ(target.name.toStdU16String(), row.name);
        EXPECT_EQ(target.format, row.format);
    }
}
} // namespace
