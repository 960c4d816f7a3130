#pragma once
// The layerpix-compose command.
#include <QString>
#include <QStringList>

// Runs layerpix-compose with `arguments` (those after the program's name) and the settings
// file of the program in `programFolder`, found as the window finds it and only read. Help
// and the version go to standard output, failures and the progress line to standard error.
// Returns the exit status: 0 when every composite was written; 1 when any picture failed
// (the others are still written); 2 when the command cannot start: a usage error, a settings
// file that cannot be read or holds an unusable rate, a --list that cannot be read, an
// output folder that cannot be made.
int ComposeCommand(const QStringList& arguments, const QString& programFolder);
