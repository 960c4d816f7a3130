#include "core/text/FileNames.h"
#include "core/settings/ProfileFile.h"

#include "base/Failure.h"
#include "core/settings/ProfileText.h"
#include "files/SafeFile.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far beyond any settings file; a larger file is not read into memory.
constexpr qint64 kLargestProfile = 64 * 1024 * 1024;

std::string Native(const QString& file)
{
    return QDir::toNativeSeparators(file).toStdString();
}

// The whole of the open file `fd`, which fstat says is `size` bytes long.
Result<QByteArray> ReadAll(int fd, qint64 size, const QString& file)
{
    if (size > kLargestProfile)
        return Failure{Native(file) + ": larger than a settings file can be (64 MiB)",
                       Native(file) + ": 設定ファイルとしては大きすぎます (64 MiB を超えています)"};
    QByteArray content(size, Qt::Uninitialized);
    qint64 got = 0;
    while (got < size) {
        const ssize_t part = ::read(fd, content.data() + got, std::size_t(size - got));
        if (part < 0 && errno == EINTR)
            continue;
        if (part < 0)
            return FileFailure(FileStep::Read, Native(file), errno);
        if (part == 0)
            break;
        got += part;
    }
    content.truncate(got);
    return content;
}

// One reading of the file: its bytes, and whether it stayed the same file of the same size and
// time while it was read.
Result<QByteArray> ReadOnce(const QString& file, bool& steady)
{
    // Opened without waiting, so that a pipe put where the file belongs cannot stop the program.
    const int fd = ::open(EncodeFileName(file).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    // A missing file is no reading to repeat.
    steady = fd < 0;
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR
                   ? Result<QByteArray>(QByteArray())
                   : Result<QByteArray>(FileFailure(FileStep::Open, Native(file), errno));
    struct stat before {}, after {};
    Result<QByteArray> content = ::fstat(fd, &before) != 0
                                     ? FileFailure(FileStep::Read, Native(file), errno)
                                 : !S_ISREG(before.st_mode) ? Result<QByteArray>(QByteArray())
                                                            : ReadAll(fd, before.st_size, file);
    steady = ::fstat(fd, &after) == 0 && after.st_size == before.st_size &&
             after.st_mtim.tv_sec == before.st_mtim.tv_sec &&
             after.st_mtim.tv_nsec == before.st_mtim.tv_nsec;
    ::close(fd);
    return content;
}

} // namespace

Result<QByteArray> ReadProfileFile(const QString& file)
{
    // An editor that rewrites the file in place may be at it; a reading it changed under is
    // read again, a few times at most.
    for (int attempt = 1;; ++attempt) {
        bool steady = false;
        Result<QByteArray> content = ReadOnce(file, steady);
        if (steady || !content || attempt == 5)
            return content;
        ::usleep(20'000);
    }
}

Result<void> WriteProfileStrings(const QString& file, const QList<ProfileEntry>& entries)
{
    for (const ProfileEntry& entry : entries) {
        if (!IsStorableProfileEntry(entry.section, entry.key, entry.value)) {
            const std::string name = "[" + entry.section.toStdString() + "] " + entry.key.toStdString();
            return Failure{Native(file) + ": the entry " + name + " cannot be stored",
                           Native(file) + ": 項目 " + name + " は保存できません"};
        }
    }
    // A file that exists but cannot be read must not be replaced by one holding only these keys.
    Result<QByteArray> content = ReadProfileFile(file);
    if (!content)
        return content.failure();
    for (const ProfileEntry& entry : entries)
        *content = SetProfileValue(*content, entry.section, entry.key, entry.value);
    return WriteFileSafely(EncodeFileName(file).constData(), content->constData(),
                           std::size_t(content->size()));
}
