#include "core/text/FileNames.h"
#include "core/sources/ReadOnlyFile.h"

#include "base/Failure.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Result<void> OpenToRead(const QString& path, QFile& file)
{
    // Opened without waiting, so that a pipe given as a picture is refused at once rather
    // than waited on for ever.
    const int fd = ::open(EncodeFileName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return FileFailure(FileStep::Open, "", errno);
    struct stat info {};
    int error = ::fstat(fd, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
    if (error == 0 && !S_ISREG(info.st_mode)) {
        ::close(fd);
        return NotAPlainFile();
    }
    // Qt takes a valid descriptor for reading in any case; EBADF stands for its refusal.
    if (error == 0 && !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        error = EBADF;
    if (error != 0) {
        ::close(fd);
        return FileFailure(FileStep::Open, "", error);
    }
    return {};
}
