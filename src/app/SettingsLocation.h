#pragma once
// Where the settings file lives.
#include <QString>

// The settings file "Layerpix.ini" in `programFolder` (the folder of the executable) when that
// folder exists and can be written and the file, if it is there, is a file that can be written.
// Otherwise, and always for an installed program (one whose folder has the installation's menu
// entry at ../share/applications/layerpix.desktop), the file lives in the user's configuration
// folder for this program, which is created if missing: an installation keeps each user's
// settings apart and never writes into the system's program folder, not even for root.
QString SettingsFilePath(const QString& programFolder);
