// Which dropped files the source panes open, by the last four characters of the name.
#include "sources/SourceNames.h"

#include <gtest/gtest.h>

namespace {
TEST(DropAccepted, TheEndingInAnyCaseDecidesAndGifsNeedOptionOne)
{
    const struct {
        const char* path;
        std::int16_t gifOption;
        bool accepted;
    } rows[] = {
        {"/p/a.bmp", 0, true},      {"/p/a.BMP", 0, true},      {"/p/a.Jpg", 0, true},
        {"/p/a.ico", 0, true},      {"/p/a.pNg", 0, true},      {"/p/a.jpeg", 0, false},
        {"/p/a.tif", 0, false},     {"/p/a.bmp ", 0, false},    {"/p/a.png/x", 0, false},
        {".bmp", 0, true},          {"bmp", 0, false},          {"", 0, false},
        {"/p/a.gif", 1, true},      {"/p/a.GIF", 1, true},      {"/p/a.gif", 0, false},
        {"/p/a.gif", 2, false},     {"/p/a.gif", -1, false},    {"/p/a.bmp", 1, true},
        {"/p/写真.png", 0, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << '"' << row.path << "\" option " << row.gifOption);
        EXPECT_EQ(DropAccepted(QString::fromUtf8(row.path), row.gifOption), row.accepted);
    }
}
} // namespace
