// Splitting texts into fields, as the open dialog's multiple selection needs.
#include "core/text/TextUtilities.h"

#include <gtest/gtest.h>

namespace {
TEST(GetField, GivesTheNthFieldOrNothing)
{
    const struct { const char* text; std::int16_t n; const char* separator; const char* field; } cases[] = {
        {"a|b|c", 1, "|", "a"}, {"a|b|c", 2, "|", "b"}, {"a|b|c", 3, "|", "c"}, {"a|b|c", 4, "|", ""}, {"a|", 2, "|", ""},
        {"a||c", 2, "|", ""}, {"a||c", 3, "|", "c"}, {"abc", 1, "|", "abc"}, {"abc", 2, "|", ""}, {"", 1, "|", ""},
        {"a|b|c", 0, "|", "a"}, {"a|b|c", -5, "|", "a"}, {"|b", 1, "|", ""}, {"前景|背景", 2, "|", "背景"},
        {"one::two::three", 2, "::", "two"}, {"one::two::three", 3, "::", "three"}, {"one::two", 1, "::", "one"}};
    for (const auto& c : cases)
        EXPECT_EQ(GetField(QString::fromUtf8(c.text), c.n, QString::fromUtf8(c.separator)).toStdString(), c.field)
            << "field " << c.n << " of \"" << c.text << "\" by \"" << c.separator << "\"";
}
} // namespace
