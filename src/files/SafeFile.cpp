#include "files/SafeFile.h"

#include "base/Failure.h"
#include "files/InFlightFiles.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Linux's own limit on links followed in one path.
constexpr int kMaxLinks = 40;

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows `path` through symbolic links to the name they finally lead to, which need not
// exist yet (a link to a file still to be created). A name that cannot be looked at is
// returned as it is: creating the file beside it then reports why.
bool FollowLinks(std::string& path, int& err)
{
    for (int followed = 0; followed <= kMaxLinks; ++followed) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true;
        char link[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), link, sizeof link);
        if (length < 0 || length == ssize_t(sizeof link)) {
            err = length < 0 ? errno : ENAMETOOLONG;
            return false;
        }
        const std::string text(link, std::size_t(length));
        path = text.front() == '/' ? text : FolderOf(path) + '/' + text;
    }
    err = ELOOP;
    return false;
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written == 0)
            errno = EIO;
        if (written <= 0)
            return false;
        data += written;
        size -= std::size_t(written);
    }
    return true;
}

void KeepOwnerAndPermissions(int fd, const struct stat& old)
{
    // Only a privileged process may give a file away; others keep their own ownership,
    // which is no reason to stop the save.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
        [[maybe_unused]] const int given = ::fchown(fd, old.st_uid, old.st_gid);
    }
    // After the owner, which clears the set-user-ID and set-group-ID bits.
    ::fchmod(fd, old.st_mode & 07777);
}

void SyncFolder(const std::string& folder)
{
    // The rename reaches the disk with the folder; the file is saved when this fails, so a
    // failure here is not reported.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

Result<void> WriteFileSafely(const char* path, const void* data, std::size_t size)
{
    const ByteRange whole{data, size};
    return WriteFileSafely(path, {&whole, 1});
}

Result<void> WriteFileSafely(const char* path, std::span<const ByteRange> pieces)
{
    if (path == nullptr || *path == '\0')
        return NoFileName();
    std::string target = path;
    int err = 0;
    if (!FollowLinks(target, err))
        return FileFailure(FileStep::FollowLink, path, err);

    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing) {
        if (S_ISDIR(old.st_mode))
            return FileFailure(FileStep::Replace, target, EISDIR);
        if (!S_ISREG(old.st_mode))
            return Failure{"cannot replace " + target + ": not a plain file",
                           target + " は通常のファイルではないので置き換えられません"};
        // Writing beside and renaming needs only the folder's permission; the file's own
        // decides, as it would for writing into it.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return FileFailure(FileStep::Replace, target, errno);
    }

    static std::atomic<unsigned> counter{0};
    const std::string folder = FolderOf(target);
    std::string temporary;
    std::optional<InFlightFile> watched;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = folder + "/.layerpix-" + std::to_string(::getpid()) + '-'
                    + std::to_string(counter++) + ".tmp";
        watched.reset();
        watched.emplace(temporary.c_str());
        // A file that replaces another is private until it takes that file's permissions.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    replacing ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return FileFailure(FileStep::CreateIn, folder, errno);

    std::optional<Failure> failure;
    for (const ByteRange& piece : pieces)
        if (!failure && !WriteAll(fd, static_cast<const std::uint8_t*>(piece.data), piece.size))
            failure = FileFailure(FileStep::Write, target, errno);
    // After writing, which clears the set-user-ID and set-group-ID bits.
    if (!failure && replacing)
        KeepOwnerAndPermissions(fd, old);
    if (!failure && ::fsync(fd) != 0)
        failure = FileFailure(FileStep::Write, target, errno);
    if (::close(fd) != 0 && !failure)
        failure = FileFailure(FileStep::Write, target, errno);
    if (!failure && ::rename(temporary.c_str(), target.c_str()) != 0)
        failure = FileFailure(FileStep::Replace, target, errno);
    if (failure) {
        ::unlink(temporary.c_str());
        return *failure;
    }
    SyncFolder(folder);
    return {};
}
