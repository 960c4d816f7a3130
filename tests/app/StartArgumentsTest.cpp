// The command line of the window program: which pictures replace the restored ones.
#include "app/StartArguments.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {
std::string Show(const std::optional<QString>& path) { return path ? path->toStdString() : "<none>"; }

// `text` begins the text, "" for none; a refusal goes on with the usage.
TEST(StartArguments, PicturesOptionsAndRefusals)
{
    using enum StartAction;
    constexpr StartAction Refuse = StartAction(-1);   // the reading fails
    const struct { QStringList arguments; StartAction action; const char *front, *back, *text; } rows[] = {
        {{}, Open, "<none>", "<none>", ""}, {{"photo.jpg"}, Open, "<none>", "/home/u/photo.jpg", ""},
        {{"/pics/logo.png", "../shots/beach.bmp"}, Open, "/pics/logo.png", "/home/shots/beach.bmp", ""},
        {{"./a b/写真.gif", "/x//y/./z.ico"}, Open, "/home/u/a b/写真.gif", "/x/y/z.ico", ""},
        {{"", "back.png"}, Open, "", "/home/u/back.png", ""}, {{"--", "--help", "-v"}, Open, "/home/u/--help", "/home/u/-v", ""},
        {{"-"}, Refuse, "<none>", "<none>", "unknown option -"},
        {{"a", "b", "c"}, Refuse, "<none>", "<none>", "3 pictures given"},
        {{"--frobnicate", "a.png"}, Refuse, "<none>", "<none>", "unknown option --frobnicate"},
        {{"-x", "--help"}, Help, "<none>", "<none>", "Usage: layerpix "},
        {{"a.png", "-h"}, Help, "<none>", "<none>", "Usage: layerpix "},
        {{"--version", "a", "b", "c"}, Version, "<none>", "<none>", "layerpix \\d+\\.\\d+"},
        {{"-v"}, Version, "<none>", "<none>", "layerpix \\d+\\.\\d+"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const Result<StartArguments> parsed = ParseStartArguments(row.arguments, QStringLiteral("/home/u"));
        const StartArguments got = parsed.value_or(
            {Refuse, {}, {}, parsed ? QString() : QString::fromStdString(parsed.failure().english)});
        EXPECT_EQ(got.Action, row.action);
        EXPECT_EQ(Show(got.Front), row.front);
        EXPECT_EQ(Show(got.Back), row.back);
        const QRegularExpression start(u'^' + QString::fromUtf8(row.text) + (row.action == Refuse ? ".*\\nUsage: layerpix " : ""),
                                       QRegularExpression::DotMatchesEverythingOption);
        EXPECT_TRUE(*row.text ? start.match(got.Text).hasMatch() : got.Text.isEmpty()) << got.Text.toStdString();
    }
}
} // namespace
