// The command line of the window program: which pictures replace the restored ones.
#include "app/StartArguments.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const char* const None = "<none>";

std::string Show(const std::optional<QString>& path)
{
    return path ? path->toStdString() : None;
}

TEST(StartArguments, PicturesOptionsAndRefusals)
{
    struct Row {
        QStringList arguments;
        StartAction action;
        const char* front;
        const char* back;
    };
    const Row rows[] = {
        {{}, StartAction::Open, None, None},
        {{"photo.jpg"}, StartAction::Open, None, "/home/u/photo.jpg"},
        {{"/pics/logo.png", "../shots/beach.bmp"}, StartAction::Open, "/pics/logo.png",
         "/home/shots/beach.bmp"},
        {{"./a b/写真.gif", "/x//y/./z.ico"}, StartAction::Open, "/home/u/a b/写真.gif",
         "/x/y/z.ico"},
        {{"", "back.png"}, StartAction::Open, "", "/home/u/back.png"},
        {{"--", "-dash.png"}, StartAction::Open, None, "/home/u/-dash.png"},
        {{"--", "--help", "-v"}, StartAction::Open, "/home/u/--help", "/home/u/-v"},
        {{"-"}, StartAction::Refuse, None, None},
        {{"a.png", "b.png", "c.png"}, StartAction::Refuse, None, None},
        {{"--frobnicate", "a.png"}, StartAction::Refuse, None, None},
        {{"-x", "--help"}, StartAction::Help, None, None},
        {{"a.png", "-h"}, StartAction::Help, None, None},
        {{"--version", "a", "b", "c"}, StartAction::Version, None, None},
        {{"-v"}, StartAction::Version, None, None},
    };
    for (const Row& row : rows) {
        const StartArguments got = ParseStartArguments(row.arguments, QStringLiteral("/home/u"));
        const std::string where = row.arguments.join(u' ').toStdString();
        EXPECT_EQ(got.Action, row.action) << where;
        EXPECT_EQ(Show(got.Front), row.front) << where;
        EXPECT_EQ(Show(got.Back), row.back) << where;
        EXPECT_EQ(got.Text.isEmpty(), row.action == StartAction::Open) << where;
    }
}

TEST(StartArguments, TheTextsSayWhatIsWrongAndHowToCallIt)
{
    const StartArguments three = ParseStartArguments({"a", "b", "c"}, QStringLiteral("/"));
    EXPECT_TRUE(three.Text.startsWith(QStringLiteral("3 pictures given")))
        << three.Text.toStdString();
    EXPECT_TRUE(three.Text.contains(QStringLiteral("Usage: layerpix")));
    const StartArguments option = ParseStartArguments({"--frobnicate"}, QStringLiteral("/"));
    EXPECT_TRUE(option.Text.startsWith(QStringLiteral("unknown option --frobnicate\n")));
    const StartArguments version = ParseStartArguments({"--version"}, QStringLiteral("/"));
    EXPECT_TRUE(version.Text.contains(QRegularExpression(QStringLiteral("^layerpix \\d+\\.\\d+"))))
        << version.Text.toStdString();
}

} // namespace
