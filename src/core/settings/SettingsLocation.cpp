#include "core/settings/SettingsLocation.h"

#include "core/text/TextUtilities.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString SettingsFileName = QStringLiteral("Layerpix.ini");

// An installed program finds its menu entry at this place relative to its own folder
// (../share/applications/layerpix.desktop for the usual layout).
const QString InstalledEntry = QStringLiteral(LAYERPIX_INSTALLED_ENTRY);

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
    const bool installed = QFileInfo::exists(AddBackslash(programFolder) + InstalledEntry);
    if (!installed && CanHoldSettings(programFolder, besideProgram))
        return besideProgram;
    const QString configFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(configFolder);
    return AddBackslash(configFolder) + SettingsFileName;
}
