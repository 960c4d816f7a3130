#include "windows/view/CheckFile.h"

#include "base/Failure.h"
#include "windows/system/ModalDialogs.h"
#include "core/view/SaveName.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

FileStatus CheckFile(const QString& name)
{
    if (TrimSpaces(name).isEmpty())
        return FileStatusNoName;
    struct stat info {};
    errno = 0;
    if (::stat(QFile::encodeName(name).constData(), &info) == 0)
        return info.st_size == 0 ? FileStatusEmpty : FileStatusExists;
    const int error = errno;
    if (error == ENOENT)
        return FileStatusMissing;
    Dialogs().MessageBox({nullptr,
                          QString::number(error) + QChar(':') +
                              QString::fromStdString(JapaneseSystemReason(error)),
                          QStringLiteral("システムエラー"), MB_OK | MB_ICONSTOP});
    return FileStatusUnknown;
}
