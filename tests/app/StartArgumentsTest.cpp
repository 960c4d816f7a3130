// The command line of the window program: which pictures replace the restored ones.
#include "app/StartArguments.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

// Each reading in one line: the action, the two paths ("-" for none) and the text; or the
// refusal, which goes on with the usage. A relative path is made absolute against the working
// folder; an empty one stays empty.
TEST(StartArguments, PicturesOptionsAndRefusals)
{
    const std::pair<QStringList, const char*> rows[] = {
        {{}, "open - - "}, {{"photo.jpg"}, "open - /home/u/photo.jpg "},
        {{"-"}, "refused unknown option -\nUsage: .*"}, {{"a", "b", "c"}, "refused 3 pictures given.*\nUsage: .*"},
        {{"../a b/写真.gif", "/x//y/./z.ico"}, "open /home/a b/写真.gif /x/y/z.ico "},
        {{"", "back.png"}, "open  /home/u/back.png "}, {{"--", "--help", "-v"}, "open /home/u/--help /home/u/-v "},
        {{"-x", "--help"}, "help - - Usage: layerpix .*"}, {{"a.png", "-h"}, "help - - Usage: layerpix .*"},
        {{"--version", "a", "b", "c"}, "version - - layerpix \\d.*\n"}, {{"-v"}, "version - - layerpix \\d.*\n"}};
    for (const auto& [arguments, expected] : rows) {
        const Result<StartArguments> read = ParseStartArguments(arguments, QStringLiteral("/home/u"));
        const QString actions[] = {"open", "help", "version"};
        const QString reading = read ? QStringList{actions[int(read->Action)], read->Front.value_or("-"),
                                                   read->Back.value_or("-"), read->Text}.join(u' ')
                                     : "refused " + QString::fromStdString(read.failure().english);
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(QString::fromUtf8(expected)),
                                         QRegularExpression::DotMatchesEverythingOption);
        EXPECT_TRUE(pattern.match(reading).hasMatch()) << reading.toStdString();
    }
}
