#include "platform/ProfileText.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct FindCase {
    const char* name;
    QByteArray content;
    const char* section;
    const char* key;
    std::optional<QString> expected;
};

void PrintTo(const FindCase& c, std::ostream* os)
{
    *os << c.name;
}

class FindProfileValueTest : public testing::TestWithParam<FindCase> {};

TEST_P(FindProfileValueTest, FindsTheValueAsTheProfileFunctionsDo)
{
    const FindCase& c = GetParam();
    EXPECT_EQ(FindProfileValue(c.content, c.section, c.key), c.expected);
}

const FindCase FindCases[] = {
    {"plain", "[PNG]\nRate=1\n", "PNG", "Rate", "1"},
    {"names_ignore_case", "[png]\nRATE=2\n", "Png", "rate", "2"},
    {"empty_file", "", "PNG", "Rate", std::nullopt},
    {"missing_section", "[JPEG]\nRate=50\n", "PNG", "Rate", std::nullopt},
    {"missing_key", "[PNG]\nLevel=3\n", "PNG", "Rate", std::nullopt},
    {"empty_value", "[Param]\nTransColor=\n", "Param", "TransColor", QString()},
    {"blanks_around_equals", "[JPEG]\n  Rate \t=  75.5 \t\n", "JPEG", "Rate", "75.5"},
    {"blanks_inside_value_kept", "[Image]\nFront= /a b/c.png \n", "Image", "Front", "/a b/c.png"},
    {"ideographic_space_is_not_a_blank", "[Image]\nFront=\xe5\x86\x99\xe3\x80\x80\n", "Image",
     "Front", QString::fromUtf8("\xe5\x86\x99\xe3\x80\x80")},
    {"equals_inside_value", "[Image]\nFront=a=b\n", "Image", "Front", "a=b"},
    {"semicolon_comment", "[PNG]\n;Rate=7\nRate=1\n", "PNG", "Rate", "1"},
    {"hash_comment", "[PNG]\n  # Rate=7\n", "PNG", "Rate", std::nullopt},
    {"crlf", "[PNG]\r\nRate=1\r\n", "PNG", "Rate", "1"},
    {"byte_order_mark", "\xEF\xBB\xBF[PNG]\nRate=1\n", "PNG", "Rate", "1"},
    {"last_line_without_end", "[PNG]\nRate=1", "PNG", "Rate", "1"},
    {"key_before_any_section", "Rate=9\n[PNG]\n", "PNG", "Rate", std::nullopt},
    {"same_key_other_section", "[JPEG]\nRate=50\n[PNG]\nRate=1\n", "PNG", "Rate", "1"},
    {"first_of_repeated_keys", "[PNG]\nRate=1\nrate=2\n", "PNG", "Rate", "1"},
    {"first_of_repeated_sections", "[PNG]\nX=1\n[PNG]\nRate=2\n", "PNG", "Rate", std::nullopt},
    {"blanks_in_brackets", "[ Param ]\nTransRate=70\n", "Param", "TransRate", "70"},
    {"unclosed_bracket_is_no_section", "[PNG]\n[JPEG\nRate=5\n", "PNG", "Rate", "5"},
    {"line_without_equals", "[Image]\nFront\nFront=x\n", "Image", "Front", "x"},
};

INSTANTIATE_TEST_SUITE_P(Profile, FindProfileValueTest, testing::ValuesIn(FindCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct SetCase {
    const char* name;
    QByteArray before;
    const char* section;
    const char* key;
    const char* value;
    QByteArray after;
};

void PrintTo(const SetCase& c, std::ostream* os)
{
    *os << c.name;
}

class SetProfileValueTest : public testing::TestWithParam<SetCase> {};

TEST_P(SetProfileValueTest, EditsOnlyTheEntry)
{
    const SetCase& c = GetParam();
    const QByteArray after = SetProfileValue(c.before, c.section, c.key, c.value);
    EXPECT_EQ(after.toStdString(), c.after.toStdString());
    EXPECT_EQ(FindProfileValue(after, c.section, c.key), QString::fromUtf8(c.value));
}

const SetCase SetCases[] = {
    {"new_file", "", "PNG", "Rate", "1", "[PNG]\nRate=1\n"},
    {"new_section_at_end", "[Image]\nFront=a\n", "PNG", "Rate", "1",
     "[Image]\nFront=a\n[PNG]\nRate=1\n"},
    {"new_key_after_last_key_line", "[Image]\nFront=a\n\n; pictures\n[Param]\nX=1\n", "Image",
     "Back", "b", "[Image]\nFront=a\nBack=b\n\n; pictures\n[Param]\nX=1\n"},
    {"new_key_in_section_without_keys", "[Image]\n; none yet\n", "Image", "Back", "b",
     "[Image]\nBack=b\n; none yet\n"},
    {"replace_keeps_spelling", "[image]\n  FRONT = old \n", "Image", "Front", "new",
     "[image]\nFRONT=new\n"},
    {"first_of_repeated_keys_replaced", "[A]\nk=1\nk=2\n", "A", "K", "9", "[A]\nk=9\nk=2\n"},
    {"same_key_other_section_untouched", "[JPEG]\nRate=50\n[PNG]\nRate=0\n", "PNG", "Rate",
     "2", "[JPEG]\nRate=50\n[PNG]\nRate=2\n"},
    {"key_before_any_section_untouched", "Rate=7\n[PNG]\n", "PNG", "Rate", "1",
     "Rate=7\n[PNG]\nRate=1\n"},
    {"crlf_new_key", "[Image]\r\nFront=a\r\n", "Image", "Back", "b",
     "[Image]\r\nFront=a\r\nBack=b\r\n"},
    {"crlf_new_section_after_unended_line", "[Image]\r\nFront=a", "PNG", "Rate", "1",
     "[Image]\r\nFront=a\r\n[PNG]\r\nRate=1\r\n"},
    {"lf_new_key_after_unended_line", "[Image]\nFront=a", "Image", "Back", "b",
     "[Image]\nFront=a\nBack=b\n"},
    {"replace_keeps_unended_last_line", "[PNG]\nRate=1", "PNG", "Rate", "2", "[PNG]\nRate=2"},
    {"byte_order_mark_kept", "\xEF\xBB\xBF[Image]\nFront=a\n", "Image", "Front", "b",
     "\xEF\xBB\xBF[Image]\nFront=b\n"},
    {"other_encodings_kept_byte_for_byte",
     "[Image]\nFront=C:\\\x8e\xca\x90\x5e.bmp\n;\xff\xfe\n[Param]\n", "Param", "TransRate", "5",
     "[Image]\nFront=C:\\\x8e\xca\x90\x5e.bmp\n;\xff\xfe\n[Param]\nTransRate=5\n"},
    {"utf8_value_written", "", "Image", "Front", "/\xe5\x86\x99.png",
     "[Image]\nFront=/\xe5\x86\x99.png\n"},
};

INSTANTIATE_TEST_SUITE_P(Profile, SetProfileValueTest, testing::ValuesIn(SetCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileEntry, OnlyEntriesThatReadBackAreStorable)
{
    struct Row {
        const char* section;
        const char* key;
        const char* value;
        bool storable;
    };
    const Row rows[] = {
        {"Image", "Front", "/a b.png", true},
        {"Image", "Front", " padded ", true},
        {"Image", "Front", "two\nlines", false},
        {"Image", "Front", "carriage\rreturn", false},
        {"", "Front", "x", false},
        {" Image", "Front", "x", false},
        {"Im]age", "Front", "x", false},
        {"Image", "", "x", false},
        {"Image", "Fr=ont", "x", false},
        {"Image", "Front ", "x", false},
        {"Image", ";Front", "x", false},
        {"Image", "#Front", "x", false},
        {"Image", "[Front", "x", false},
        {"Ima\nge", "Front", "x", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "[" << row.section << "] " << row.key << "="
                                        << row.value);
        EXPECT_EQ(IsStorableProfileEntry(row.section, row.key, row.value), row.storable);
    }
}

} // namespace
