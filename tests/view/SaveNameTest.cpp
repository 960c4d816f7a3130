#include "view/SaveName.h"
#include "view/ViewSizing.h"

#include <gtest/gtest.h>

#include <QString>

namespace {
struct NameCase {
    std::u16string typed;
    std::int32_t filter;
    std::u16string name;
    SaveFormat format;
};

void PrintTo(const NameCase& c, std::ostream* os)
{
    *os << "\"" << QString::fromStdU16String(c.typed).toStdString() << "\" with filter "
        << c.filter;
}

class SettledName : public ::testing::TestWithParam<NameCase> {};

TEST_P(SettledName, GivesTheFinalNameAndFormat)
{
    const NameCase& c = GetParam();
    const SaveTarget target = SettleSaveName(c.typed, c.filter);
    EXPECT_EQ(QString::fromStdU16String(target.name), QString::fromStdU16String(c.name));
    EXPECT_EQ(int(target.format), int(c.format));
}

constexpr SaveFormat Bmp = SaveFormat::Bmp, Jpeg = SaveFormat::Jpeg, Png = SaveFormat::Png;

INSTANTIATE_TEST_SUITE_P(
    Export, SettledName,
    ::testing::Values(NameCase{u"photo", 3, u"photo.JPG", Jpeg},
                      NameCase{u"photo", 1, u"photo.BMP", Bmp},
                      NameCase{u"photo", 4, u"photo.PNG", Png},
                      NameCase{u"photo.png", 2, u"photo.png.BMP", Bmp},
                      NameCase{u"photo.jpeg", 1, u"photo.jpeg.BMP", Bmp},
                      NameCase{u"photo.jpeg", 3, u"photo.jpeg.JPG", Jpeg},
                      NameCase{u"photo.Jpg", 1, u"photo.Jpg", Jpeg},
                      NameCase{u"photo.jpg", 3, u"photo.jpg", Jpeg},
                      NameCase{u"photo.pNg", 1, u"photo.pNg", Png},
                      NameCase{u"photo.bmp", 4, u"photo.bmp.PNG", Png},
                      NameCase{u"photo.BMP", 1, u"photo.BMP", Bmp},
                      NameCase{u"p", 1, u"p.BMP", Bmp},
                      NameCase{u"p", 2, u"p.BMP", Bmp},
                      NameCase{u"p", 3, u"p.JPG", Jpeg},
                      NameCase{u"p", 4, u"p.PNG", Png},
                      NameCase{u"jpg", 3, u"jpg.JPG", Jpeg},
                      NameCase{u".png", 4, u".png", Png},
                      NameCase{u"photo", 0, u"photo.BMP", Bmp},
                      NameCase{u"写真.png", 1, u"写真.png", Png},
                      NameCase{u"写真", 3, u"写真.JPG", Jpeg}));

TEST(TrimSpaces, RemovesOnlySurroundingSpaces)
{
    EXPECT_EQ(TrimSpaces(u"  photo.png  "), u"photo.png");
    EXPECT_EQ(TrimSpaces(u"my photo"), u"my photo");
    EXPECT_EQ(TrimSpaces(u"   "), u"");
    EXPECT_EQ(TrimSpaces(u""), u"");
    EXPECT_EQ(TrimSpaces(u"\tphoto"), u"\tphoto");
}

struct SizeCase {
    const char* what;
    QSize composite, available, client;
};

void PrintTo(const SizeCase& c, std::ostream* os)
{
    *os << c.what;
}

class ViewClient : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ViewClient, FitsTheCompositeUpToTheAvailableRoom)
{
    const SizeCase& c = GetParam();
    EXPECT_EQ(ViewClientSize(c.composite, c.available, 16), c.client);
}

INSTANTIATE_TEST_SUITE_P(
    View, ViewClient,
    ::testing::Values(SizeCase{"fits", {300, 200}, {800, 600}, {300, 200}},
                      SizeCase{"exactly the room", {800, 600}, {800, 600}, {800, 600}},
                      SizeCase{"too wide", {1000, 200}, {800, 600}, {800, 216}},
                      SizeCase{"too high", {300, 900}, {800, 600}, {316, 600}},
                      SizeCase{"too wide, the bar then needs height", {1000, 590}, {800, 600}, {800, 600}},
                      SizeCase{"too large both ways", {5000, 4000}, {800, 600}, {800, 600}}));
} // namespace
