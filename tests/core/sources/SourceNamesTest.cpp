// Which files the source panes take, by the last four characters of the name, and what the
// browse dialog offers.
#include "core/sources/SourceNames.h"

#include <gtest/gtest.h>

namespace {
TEST(DropAccepted, TheEndingInAnyCaseDecidesAndGifsNeedOptionOne)
{
    const struct { const char* path; std::int16_t gifOption; bool accepted; } rows[] = {
        {"/p/a.bmp", 0, true},  {"/p/a.BMP", 0, true},   {"/p/a.Jpg", 0, true},    {"/p/a.ico", 0, true},
        {"/p/a.pNg", 0, true},  {"/p/a.jpeg", 0, false}, {"/p/a.tif", 0, false},   {"/p/a.bmp ", 0, false},
        {"/p/a.png/x", 0, false}, {".bmp", 0, true},     {"bmp", 0, false},        {"", 0, false},
        {"/p/a.gif", 1, true},  {"/p/a.GIF", 1, true},   {"/p/a.gif", 0, false},   {"/p/a.gif", 2, false},
        {"/p/a.gif", -1, false}, {"/p/a.bmp", 1, true},  {"/p/写真.png", 0, true}};
    for (const auto& row : rows)
        EXPECT_EQ(DropAccepted(QString::fromUtf8(row.path), row.gifOption), row.accepted)
            << '"' << row.path << "\" option " << row.gifOption;
}

TEST(BrowseFilterPattern, OffersGifsUnlessTheOptionIsZero)
{
    const QString withGif = QStringLiteral("*.bmp;*.gif;*.ico;*.jpg;*.png");
    for (const auto& [gifOption, patterns] : {std::pair<std::int16_t, QString>{0, QStringLiteral("*.bmp;*.ico;*.jpg;*.png")},
                                              {1, withGif}, {2, withGif}})
        EXPECT_EQ(BrowseFilterPattern(gifOption), QStringLiteral("画像ファイル") + QChar(0) + patterns + QChar(0))
            << "option " << gifOption;
}
} // namespace
