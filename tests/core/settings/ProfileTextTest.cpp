// Reading and editing the profile format as text, the way hand-written settings files look.
#include "core/settings/ProfileText.h"

#include <gtest/gtest.h>

#include <optional>

namespace {
TEST(ProfileText, FindsValuesAsTheProfileFunctionsDo)
{
    const std::tuple<QByteArray, const char*, const char*, std::optional<QString>> rows[] = {
        {"[png]\nRATE=2\n", "Png", "rate", "2"},                  {"[JPEG]\nRate=50\n", "PNG", "Rate", std::nullopt},
        {"[PNG]\nLevel=3\n", "PNG", "Rate", std::nullopt},         {"[Param]\nTransColor=\n", "Param", "TransColor", QString()},
        {"[JPEG]\n  Rate \t=  75.5 \t\n", "JPEG", "Rate", "75.5"}, {"[Image]\nFront= /a b/c.png \n", "Image", "Front", "/a b/c.png"},
        {"[Image]\nFront=写\u3000\n", "Image", "Front", "写\u3000"}, // not a blank
        {"[Image]\nFront=a=b\n", "Image", "Front", "a=b"},         {"[PNG]\n;Rate=7\nRate=1\n", "PNG", "Rate", "1"},
        {"[PNG]\n  # Rate=7\n", "PNG", "Rate", std::nullopt},      {"[PNG]\r\nRate=1\r\n", "PNG", "Rate", "1"},
        {"\xEF\xBB\xBF[PNG]\nRate=1\n", "PNG", "Rate", "1"},      {"[PNG]\nRate=1", "PNG", "Rate", "1"},
        {"Rate=9\n[PNG]\n", "PNG", "Rate", std::nullopt},          {"[PNG]\nX=1\n[PNG]\nRate=2\n", "PNG", "Rate", std::nullopt},
        {"[ Param ]\nTransRate=70\n", "Param", "TransRate", "70"}, {"[PNG]\n[JPEG\nRate=5\n", "PNG", "Rate", "5"},
        {"[Image]\nFront\nFront=x\n", "Image", "Front", "x"},
        // A value that is not UTF-8 is the earlier program's Shift-JIS (CP932, with its NEC
        // signs); a byte that starts no character there reads as U+FFFD.
        {"[Image]\nFront=C:\\\x8e\xca\x90^ \x87\x40\xb6\xc5.bmp\n", "Image", "Front", "C:\\写真 ①ｶﾅ.bmp"},
        {"[Image]\nFront=\x8e\xca\xff\x85\x40\x8e\n", "Image", "Front", "写\uFFFD\uFFFD@\uFFFD"},
        {"[Image]\nFront=\xEF\xBB\xBF\xE5\x86\x99\n", "Image", "Front", QChar(0xFEFF) + QString::fromUtf8("写")},
    };
    for (const auto& [content, section, key, expected] : rows)
        EXPECT_EQ(FindProfileValue(content, section, key), expected) << content.toStdString();
}

TEST(ProfileText, SettingAValueEditsOnlyItsEntry)
{
    const std::tuple<QByteArray, const char*, const char*, const char*, QByteArray> rows[] = {
        {"", "PNG", "Rate", "1", "[PNG]\nRate=1\n"},
        {"[Image]\nFront=a\n", "PNG", "Rate", "1", "[Image]\nFront=a\n[PNG]\nRate=1\n"},
        {"[Image]\nFront=a\n\n; pictures\n[Param]\nX=1\n", "Image", "Back", "b",
         "[Image]\nFront=a\nBack=b\n\n; pictures\n[Param]\nX=1\n"},
        {"[Image]\n; none yet\n", "Image", "Back", "b", "[Image]\nBack=b\n; none yet\n"},
        {"[image]\n  FRONT = old \n", "Image", "Front", "new", "[image]\nFRONT=new\n"},
        {"[A]\nk=1\nk=2\n", "A", "K", "9", "[A]\nk=9\nk=2\n"},
        {"[JPEG]\nRate=50\n[PNG]\nRate=0\n", "PNG", "Rate", "2", "[JPEG]\nRate=50\n[PNG]\nRate=2\n"},
        {"Rate=7\n[PNG]\n", "PNG", "Rate", "1", "Rate=7\n[PNG]\nRate=1\n"},
        {"[Image]\r\nFront=a\r\n", "Image", "Back", "b", "[Image]\r\nFront=a\r\nBack=b\r\n"},
        {"[Image]\r\nFront=a", "PNG", "Rate", "1", "[Image]\r\nFront=a\r\n[PNG]\r\nRate=1\r\n"},
        {"[Image]\nFront=a", "Image", "Back", "b", "[Image]\nFront=a\nBack=b\n"},
        {"[PNG]\nRate=1", "PNG", "Rate", "2", "[PNG]\nRate=2"},
        {"\xEF\xBB\xBF[Image]\nFront=a\n", "Image", "Front", "b", "\xEF\xBB\xBF[Image]\nFront=b\n"},
        // Lines in another encoding are kept byte for byte.
        {"[Image]\nFront=C:\\\x8e\xca.bmp\n;\xff\xfe\n[Param]\n", "Param", "TransRate", "5",
         "[Image]\nFront=C:\\\x8e\xca.bmp\n;\xff\xfe\n[Param]\nTransRate=5\n"},
        // A value set to what it already reads as keeps its bytes, in Shift-JIS or in bytes
        // that are no encoding at all; a changed value is written in UTF-8.
        {"[Image]\r\n Front = \x8e\xca\x90^\r\n", "Image", "Front", "写真", "[Image]\r\nFront=\x8e\xca\x90^\r\n"},
        {"[Image]\nFront=\x8e\xff\n", "Image", "Front", "\uFFFD\uFFFD", "[Image]\nFront=\x8e\xff\n"},
        {"[Image]\nFront=\x8e\xca\x90^\n", "Image", "Front", "写真2", "[Image]\nFront=写真2\n"},
        {"[Image]\nFront=\x8e\xff\n", "Image", "Front", "\uFFFD", "[Image]\nFront=\uFFFD\n"},
    };
    for (const auto& [before, section, key, value, after] : rows) {
        SCOPED_TRACE(before.toStdString());
        const QByteArray edited = SetProfileValue(before, section, key, QString::fromUtf8(value));
        EXPECT_EQ(edited.toStdString(), after.toStdString());
        EXPECT_EQ(FindProfileValue(edited, section, key), QString::fromUtf8(value));
    }
}

TEST(ProfileText, OnlyEntriesThatReadBackAreStorable)
{
    const std::tuple<const char*, const char*, const char*, bool> rows[] = {
        {"Image", "Front", "/a b.png", true},    {"Image", "Front", " padded ", true},
        {"Image", "Front", "two\nlines", false}, {"Image", "Front", "carriage\rreturn", false},
        {"", "Front", "x", false},               {" Image", "Front", "x", false},
        {"Im]age", "Front", "x", false},         {"Ima\nge", "Front", "x", false},
        {"Image", "", "x", false},               {"Image", "Fr=ont", "x", false},
        {"Image", "Front ", "x", false},         {"Image", ";Front", "x", false},
        {"Image", "#Front", "x", false},         {"Image", "[Front", "x", false},
    };
    for (const auto& [section, key, value, storable] : rows)
        EXPECT_EQ(IsStorableProfileEntry(section, key, value), storable)
            << "[" << section << "] " << key << "=" << value;
}
} // namespace
