// File names as the system's bytes: any bytes come back exactly, valid UTF-8 reads as text.
#include "core/text/FileNames.h"

#include <gtest/gtest.h>

namespace {
TEST(FileNames, KeepEveryNameAsItsBytes)
{
    const struct { QByteArray bytes; QString text; } cases[] = {
        {"photo.jpg", u"photo.jpg"_qs},
        {"\xe5\x89\x8d\xe6\x99\xaf.png", u"前景.png"_qs},
        {"\xf0\x9f\x93\xb7", QString::fromUcs4(U"\U0001F4F7")},
        {"a\xff" "b", u"a\xDCFF" "b"_qs},                             // no lead byte
        {"\x80", u"\xDC80"_qs},                                        // stray continuation
        {"\xc0\xaf", u"\xDCC0\xDCAF"_qs},                              // overlong slash
        {"\xed\xa0\x80", u"\xDCED\xDCA0\xDC80"_qs},                    // a surrogate's bytes
        {"\xf4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"_qs},          // beyond U+10FFFF
        {"\xf9\x8f\x98\x95", u"\xDCF9\xDC8F\xDC98\xDC95"_qs},          // five-byte lead
        {"\xfc\x8f\xbf\xbf", u"\xDCFC\xDC8F\xDCBF\xDCBF"_qs},          // six-byte lead
        {"\xe5\x89", u"\xDCE5\xDC89"_qs},                              // cut short
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeFileName(c.bytes), c.text) << c.bytes.toHex().toStdString();
        EXPECT_EQ(EncodeFileName(DecodeFileName(c.bytes)), c.bytes) << c.bytes.toHex().toStdString();
    }
}

TEST(FileNames, ShowControlsAndBackslashesEscaped)
{
    EXPECT_EQ(PrintableFileName(DecodeFileName("a\nb\x1b\\c\x7f\xff.jpg")), "a\\x0ab\\x1b\\x5cc\\x7f\xff.jpg");
}
} // namespace
