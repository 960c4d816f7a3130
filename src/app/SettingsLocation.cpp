#include "app/SettingsLocation.h"

#include "app/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString SettingsFileName = QStringLiteral("Layerpix.ini");

bool CanHoldSettings(const QString& folder, const QString& file)
{
    const QFileInfo folderInfo(folder);
    if (!folderInfo.isDir() || !folderInfo.isWritable())
        return false;
    // A read-only file is still the user's settings: it is read, and saves leave it alone.
    const QFileInfo fileInfo(file);
    return !fileInfo.exists() || fileInfo.isFile();
}

} // namespace

QString SettingsFilePath(const QString& programFolder)
{
    const QString besideProgram = AddBackslash(programFolder) + SettingsFileName;
    if (CanHoldSettings(programFolder, besideProgram))
        return besideProgram;
    const QString configFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(configFolder);
    return AddBackslash(configFolder) + SettingsFileName;
}
