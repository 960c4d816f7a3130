#pragma once
// Where the settings file lives.
#include <QString>

// The settings file "Layerpix.ini" in `programFolder` (the folder of the executable) when that
// folder exists and can be written and the file, if it is there, is a file (a read-only one
// too: it is read, and saving it fails).
// Otherwise the file lives in the user's configuration folder for this program, which is created
// if missing, so that an installation in a folder the user cannot write still keeps its settings.
QString SettingsFilePath(const QString& programFolder);
