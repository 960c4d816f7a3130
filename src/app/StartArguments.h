#pragma once
// What the command line asks of the window program: which pictures to open in place of the
// restored ones ("Open with" from a file manager), or a help or version text.
#include "base/Result.h"

#include <QString>
#include <QStringList>
#include <optional>

enum class StartAction {
    Open,     // start the window; Front and Back, when set, replace the restored paths
    Help,     // print Text (the usage) and end
    Version,  // print Text and end
};

struct StartArguments {
    StartAction Action = StartAction::Open;
    std::optional<QString> Front;
    std::optional<QString> Back;
    QString Text;
};

// Reads the arguments that follow the program's name (Qt's own options already taken out):
// none keeps the restored pictures, one picture is the background, two are the foreground
// and the background. A relative path is made absolute against `workingFolder`, so the
// settings file keeps a path that opens from anywhere; an empty argument is an empty path
// field. "-h"/"--help" and "-v"/"--version" answer wherever they stand; "--" ends the options,
// so a picture whose name starts with '-' can follow it. An unknown option or more than two
// pictures fail, saying what is wrong (the English followed by the usage); nothing starts.
Result<StartArguments> ParseStartArguments(const QStringList& arguments,
                                           const QString& workingFolder);
