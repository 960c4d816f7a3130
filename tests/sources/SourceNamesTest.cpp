// Which loader a name selects, which dropped names are taken, and the PNG header check.
#include "sources/PngRoute.h"
#include "sources/SourceNames.h"

#include <gtest/gtest.h>

namespace {
TEST(SourceNames, OnlyAPngEndingInAnyCaseTakesTheCodecRoute)
{
    const struct {
        const char* path;
        bool png;
    } cases[] = {
        {"a.png", true},       {"a.PNG", true},      {"a.pNg", true},
        {"/x/y/.png", true},   {".png", true},       {"png", false},
        {"a.png ", false},     {"a.apng", false},     {"a.pngx", false},
        {"a.jpg", false},      {"a.jpeg", false},    {"", false},
        {"dir.png/a.bmp", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TakesPngRoute(QString::fromUtf8(c.path)), c.png) << c.path;
}

TEST(SourceNames, DropsTakeFourEndingsAndGifOnlyWithOptionOne)
{
    const struct {
        const char* path;
        bool option0, option1, option2;
    } cases[] = {
        {"a.bmp", true, true, true},    {"a.JPG", true, true, true},
        {"a.Ico", true, true, true},    {"a.png", true, true, true},
        {"a.gif", false, true, false},  {"a.GIF", false, true, false},
        {"a.jpeg", false, false, false}, {"a.tif", false, false, false},
        {"bmp", false, false, false},   {"", false, false, false},
    };
    for (const auto& c : cases) {
        const QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(DropAccepted(path, 0), c.option0) << c.path;
        EXPECT_EQ(DropAccepted(path, 1), c.option1) << c.path;
        EXPECT_EQ(DropAccepted(path, 2), c.option2) << c.path;
    }
    EXPECT_FALSE(DropAccepted(QStringLiteral("a.gif"), -1));
}

QByteArray Header(std::initializer_list<int> bytes)
{
    QByteArray head;
    for (int b : bytes)
        head.append(char(b));
    return head;
}

const QByteArray kSignature = Header({137, 80, 78, 71, 13, 10, 26, 10});

TEST(PngHeader, EveryByteOfTheSignatureCounts)
{
    ASSERT_TRUE(ReadPngHeader(kSignature).has_value());
    for (int i = 0; i < 8; ++i) {
        QByteArray damaged = kSignature;
        damaged[i] = char(damaged[i] ^ 0x20);
        EXPECT_FALSE(ReadPngHeader(damaged).has_value()) << "byte " << i;
        EXPECT_FALSE(ReadPngHeader(kSignature.left(i)).has_value()) << i << " bytes";
    }
}

TEST(PngHeader, WidthAndHeightAreWhole32BitValuesAndMissingBytesCountZero)
{
    const QByteArray chunk = Header({0, 0, 0, 13, 'I', 'H', 'D', 'R'});
    const struct {
        QByteArray size;
        std::uint32_t width, height;
    } cases[] = {
        {Header({0, 0, 1, 44, 0, 0, 0, 200}), 300, 200},
        {Header({0, 1, 0, 100, 0, 0, 0, 100}), 65536 + 100, 100},
        {Header({0, 0, 0, 100, 0, 1, 0, 100}), 100, 65536 + 100},
        {Header({255, 255, 255, 255, 128, 0, 0, 1}), 0xFFFFFFFFu, 0x80000001u},
        {Header({0, 0, 1, 44, 0, 0}), 300, 0},
        {Header({0, 0, 1}), 256, 0},
        {QByteArray(), 0, 0},
    };
    for (const auto& c : cases) {
        const auto size = ReadPngHeader(kSignature + chunk + c.size);
        ASSERT_TRUE(size.has_value());
        EXPECT_EQ(size->width, c.width);
        EXPECT_EQ(size->height, c.height);
    }
    const auto signatureOnly = ReadPngHeader(kSignature);
    EXPECT_EQ(signatureOnly->width, 0u);
    EXPECT_EQ(signatureOnly->height, 0u);
}
} // namespace
