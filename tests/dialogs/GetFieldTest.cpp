// Splitting texts into fields, as the open dialog's multiple selection needs.
#include "dialogs/GetField.h"

#include <gtest/gtest.h>

namespace {
struct FieldCase {
    const char* text;
    std::int16_t n;
    const char* separator;
    const char* field;
};

void PrintTo(const FieldCase& c, std::ostream* out)
{
    *out << "field " << c.n << " of \"" << c.text << "\" by \"" << c.separator << "\"";
}

class GetFieldTable : public ::testing::TestWithParam<FieldCase> {};

TEST_P(GetFieldTable, GivesTheField)
{
    const FieldCase& c = GetParam();
    EXPECT_EQ(GetField(QString::fromUtf8(c.text), c.n, QString::fromUtf8(c.separator)).toStdString(),
              c.field);
}

INSTANTIATE_TEST_SUITE_P(Fields, GetFieldTable, ::testing::Values(
    FieldCase{"a|b|c", 1, "|", "a"},
    FieldCase{"a|b|c", 2, "|", "b"},
    FieldCase{"a|b|c", 3, "|", "c"},
    FieldCase{"a|b|c", 4, "|", ""},
    FieldCase{"a||c", 2, "|", ""},
    FieldCase{"a||c", 3, "|", "c"},
    FieldCase{"abc", 1, "|", "abc"},
    FieldCase{"abc", 2, "|", ""},
    FieldCase{"a|b|c", 0, "|", "a"},
    FieldCase{"a|b|c", -5, "|", "a"},
    FieldCase{"", 1, "|", ""},
    FieldCase{"|b", 1, "|", ""},
    FieldCase{"a|", 2, "|", ""},
    // Separators of several characters.
    FieldCase{"one::two::three", 2, "::", "two"},
    FieldCase{"one::two::three", 3, "::", "three"},
    FieldCase{"one::two", 1, "::", "one"},
    FieldCase{"前景|背景", 2, "|", "背景"}));

TEST(GetField, SplitsTheOpenDialogsNulSeparatedSelection)
{
    const QChar nul(0);
    const QString buffer = QStringLiteral("/pics") + nul + QStringLiteral("x.bmp") + nul
                           + QStringLiteral("y.png") + nul + nul;
    EXPECT_EQ(GetField(buffer, 1, nul), QStringLiteral("/pics"));
    EXPECT_EQ(GetField(buffer, 2, nul), QStringLiteral("x.bmp"));
    EXPECT_EQ(GetField(buffer, 3, nul), QStringLiteral("y.png"));
    EXPECT_TRUE(GetField(buffer, 4, nul).isEmpty());
    EXPECT_TRUE(GetField(buffer, 5, nul).isEmpty());
}
} // namespace
