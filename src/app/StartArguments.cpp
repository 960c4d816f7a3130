#include "app/StartArguments.h"

#include <QDir>

namespace {

const QString Usage = QStringLiteral(
    "Usage: layerpix [OPTION]... [[FOREGROUND] BACKGROUND]\n"
    "Pastes one picture onto another. With one picture it opens as the background and the\n"
    "foreground of the last run stays; with two, the first is the foreground and the second\n"
    "the background. Without any, both pictures of the last run open again.\n"
    "\n"
    "  -h, --help     show this help and end\n"
    "  -v, --version  show the version and end\n"
    "  --             take every argument after it as a picture\n"
    "\n"
    "Qt's own options (-platform, -style, ...) are accepted as well.\n");

StartArguments Answer(StartAction action, const QString& text)
{
    StartArguments answer;
    answer.Action = action;
    answer.Text = text;
    return answer;
}

QString Absolute(const QString& path, const QString& workingFolder)
{
    return path.isEmpty() ? path : QDir::cleanPath(QDir(workingFolder).absoluteFilePath(path));
}

Failure Refusal(const QString& english, const QString& japanese)
{
    return {(english + u'\n' + Usage).toStdString(), japanese.toStdString()};
}
} // namespace

Result<StartArguments> ParseStartArguments(const QStringList& arguments,
                                           const QString& workingFolder)
{
    QStringList pictures;
    QStringList unknown;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (optionsEnded || argument.isEmpty() || !argument.startsWith(u'-')) {
            pictures.append(argument);
        } else if (argument == u"--") {
            optionsEnded = true;
        } else if (argument == u"-h" || argument == u"--help") {
            return Answer(StartAction::Help, Usage);
        } else if (argument == u"-v" || argument == u"--version") {
            return Answer(StartAction::Version,
                          QStringLiteral("layerpix %1\n").arg(QStringLiteral(LAYERPIX_VERSION)));
        } else {
            unknown.append(argument);
        }
    }
    if (!unknown.isEmpty())
        return Refusal(QStringLiteral("unknown option %1").arg(unknown.first()),
                       QStringLiteral("%1 というオプションはありません").arg(unknown.first()));
    if (pictures.size() > 2)
        return Refusal(QStringLiteral("%1 pictures given; Layerpix opens a foreground and a "
                                      "background, two at most")
                           .arg(pictures.size()),
                       QStringLiteral("画像が %1 つ指定されました。開けるのは前景と背景の 2 つまでです")
                           .arg(pictures.size()));

    StartArguments answer;
    if (pictures.size() == 2)
        answer.Front = Absolute(pictures.first(), workingFolder);
    if (!pictures.isEmpty())
        answer.Back = Absolute(pictures.last(), workingFolder);
    return answer;
}
