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
        const char* text;   // a pattern for the start of the text; "": no text
    };
    const char* const refusal = ".*\\nUsage: layerpix ";
    const Row rows[] = {
        {{}, StartAction::Open, None, None, ""},
        {{"photo.jpg"}, StartAction::Open, None, "/home/u/photo.jpg", ""},
        {{"/pics/logo.png", "../shots/beach.bmp"}, StartAction::Open, "/pics/logo.png",
         "/home/shots/beach.bmp", ""},
        {{"./a b/写真.gif", "/x//y/./z.ico"}, StartAction::Open, "/home/u/a b/写真.gif",
         "/x/y/z.ico", ""},
        {{"", "back.png"}, StartAction::Open, "", "/home/u/back.png", ""},
        {{"--", "-dash.png"}, StartAction::Open, None, "/home/u/-dash.png", ""},
        {{"--", "--help", "-v"}, StartAction::Open, "/home/u/--help", "/home/u/-v", ""},
        {{"-"}, StartAction::Refuse, None, None, "unknown option -"},
        {{"a.png", "b.png", "c.png"}, StartAction::Refuse, None, None, "3 pictures given"},
        {{"--frobnicate", "a.png"}, StartAction::Refuse, None, None, "unknown option --frobnicate"},
        {{"-x", "--help"}, StartAction::Help, None, None, "Usage: layerpix "},
        {{"a.png", "-h"}, StartAction::Help, None, None, "Usage: layerpix "},
        {{"--version", "a", "b", "c"}, StartAction::Version, None, None, "layerpix \\d+\\.\\d+"},
        {{"-v"}, StartAction::Version, None, None, "layerpix \\d+\\.\\d+"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const StartArguments got = ParseStartArguments(row.arguments, QStringLiteral("/home/u"));
        EXPECT_EQ(got.Action, row.action);
        EXPECT_EQ(Show(got.Front), row.front);
        EXPECT_EQ(Show(got.Back), row.back);
        // A refusal says what is wrong, then how to call the program.
        const QString text = QStringLiteral("^") + QString::fromUtf8(row.text) +
                             (row.action == StartAction::Refuse ? refusal : "");
        const QRegularExpression start(text, QRegularExpression::DotMatchesEverythingOption);
        EXPECT_TRUE(*row.text ? start.match(got.Text).hasMatch() : got.Text.isEmpty())
            << got.Text.toStdString();
    }
}

} // namespace
