#pragma once
// Where the settings file lives.
#include <QString>

// The settings file "Layerpix.ini" in `programFolder` (the folder of the executable) when that
// folder exists and can be written and the file, if it is there, is a file (a read-only one
// too: it is read, and saving it fails).
// Otherwise the file lives in the user's configuration folder for this program, which is created
// if missing, so that an installation in a folder the user cannot write still keeps its settings.
// An installed program (one whose folder has the installation's menu entry at
// ../share/applications/layerpix.desktop) always keeps them there: each user has their own,
// and nothing is written into the system's program folder, not even by root.
QString SettingsFilePath(const QString& programFolder);
