#include "app/SettingsNumber.h"

#include <QString>
#include <gtest/gtest.h>

#include <limits>

namespace {

enum class Width { Bits16, Bits32 };

struct NumberCase {
    const char* text;
    Width width;
    SettingsNumberError error;
    std::int64_t value; // when error is None
};

void PrintTo(const NumberCase& c, std::ostream* os)
{
    *os << '"' << c.text << "\" as " << (c.width == Width::Bits16 ? 16 : 32) << " bits";
}

SettingsNumber Parse(const char* text, Width width)
{
    if (width == Width::Bits16) {
        return ParseSettingsNumber(QString::fromUtf8(text), std::numeric_limits<std::int16_t>::min(),
                                   std::numeric_limits<std::int16_t>::max());
    }
    return ParseSettingsNumber(QString::fromUtf8(text), std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max());
}

class SettingsNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(SettingsNumberTest, Converts)
{
    const NumberCase& c = GetParam();
    const SettingsNumber number = Parse(c.text, c.width);
    EXPECT_EQ(number.error, c.error);
    if (c.error == SettingsNumberError::None) {
        EXPECT_EQ(number.value, c.value);
    }
}

constexpr auto Ok = SettingsNumberError::None;
constexpr auto Mismatch = SettingsNumberError::TypeMismatch;
constexpr auto Overflow = SettingsNumberError::Overflow;
constexpr auto W16 = Width::Bits16;
constexpr auto W32 = Width::Bits32;

const NumberCase Plain[] = {
    {"0", W16, Ok, 0},           {"100", W16, Ok, 100},   {"-1", W16, Ok, -1},
    {"+5", W16, Ok, 5},          {"-0", W16, Ok, 0},      {"00012", W16, Ok, 12},
    {"  42 ", W16, Ok, 42},      {"\t7\t", W16, Ok, 7},   {"16777215", W32, Ok, 16777215},
};
INSTANTIATE_TEST_SUITE_P(Plain, SettingsNumberTest, testing::ValuesIn(Plain));

const NumberCase HalvesToEven[] = {
    {"50.5", W16, Ok, 50},   {"51.5", W16, Ok, 52},     {"75.5", W16, Ok, 76},
    {"-0.5", W16, Ok, 0},    {"-1.5", W16, Ok, -2},     {"-2.5", W16, Ok, -2},
    {"2.50", W16, Ok, 2},    {"0.49999", W16, Ok, 0},   {"0.5000001", W16, Ok, 1},
    {"2.6", W16, Ok, 3},     {"3.", W16, Ok, 3},        {".5", W16, Ok, 0},
    {".51", W16, Ok, 1},     {"+1.5", W16, Ok, 2},
};
INSTANTIATE_TEST_SUITE_P(HalvesToEven, SettingsNumberTest, testing::ValuesIn(HalvesToEven));

const NumberCase Ranges[] = {
    {"32767", W16, Ok, 32767},
    {"32767.4", W16, Ok, 32767},
    {"32767.5", W16, Overflow, 0},
    {"32768", W16, Overflow, 0},
    {"-32768", W16, Ok, -32768},
    {"-32768.5", W16, Ok, -32768},
    {"-32769", W16, Overflow, 0},
    {"32768", W32, Ok, 32768},
    {"2147483647", W32, Ok, 2147483647},
    {"2147483648", W32, Overflow, 0},
    {"-2147483648", W32, Ok, -2147483648LL},
    {"-2147483648.6", W32, Overflow, 0},
    {"99999999999999999999999999", W32, Overflow, 0},
};
INSTANTIATE_TEST_SUITE_P(Ranges, SettingsNumberTest, testing::ValuesIn(Ranges));

const NumberCase NotNumbers[] = {
    {"", W16, Mismatch, 0},      {"   ", W16, Mismatch, 0},  {"abc", W16, Mismatch, 0},
    {"12abc", W16, Mismatch, 0}, {"1e3", W16, Mismatch, 0},  {"0x10", W16, Mismatch, 0},
    {"&H10", W16, Mismatch, 0},  {"1,000", W32, Mismatch, 0}, {"1 000", W32, Mismatch, 0},
    {"7,5", W16, Mismatch, 0},   {"- 5", W16, Mismatch, 0},  {"--5", W16, Mismatch, 0},
    {"+-5", W16, Mismatch, 0},   {"5-", W16, Mismatch, 0},   {".", W16, Mismatch, 0},
    {"-", W16, Mismatch, 0},     {"1.2.3", W16, Mismatch, 0}, {"\xef\xbc\x91\xef\xbc\x92", W16, Mismatch, 0},
};
INSTANTIATE_TEST_SUITE_P(NotNumbers, SettingsNumberTest, testing::ValuesIn(NotNumbers));

} // namespace
