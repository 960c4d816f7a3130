#include "files/SafeFile.h"

#include "base/Failure.h"
#include "files/InFlightFiles.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdint>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <set>
#include <string_view>
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

// The host's name, which tells a hidden new file of this machine from one of another that
// shares the folder.
const std::string& HostName()
{
    static const std::string name = [] {
        char text[256] = {};
        return ::gethostname(text, sizeof text - 1) == 0 ? std::string(text) : std::string();
    }();
    return name;
}

// The process a hidden new file belongs to, when it is one of this host's: its name is
// .layerpix-HOST-PID-N.tmp (or, from earlier versions, .layerpix-PID-N.tmp).
std::optional<pid_t> OwnerOf(std::string_view name)
{
    constexpr std::string_view head = ".layerpix-", tail = ".tmp";
    if (!name.starts_with(head) || !name.ends_with(tail))
        return std::nullopt;
    name = name.substr(head.size(), name.size() - head.size() - tail.size());
    if (const std::string host = HostName() + '-'; name.starts_with(host))
        name.remove_prefix(host.size());
    const auto dash = name.find('-');
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + dash, pid);
    if (dash == std::string_view::npos || error != std::errc() || end != name.data() + dash ||
        pid <= 0)
        return std::nullopt;
    return pid;
}

// Removes, once a process, the hidden new files in `folder` whose process has ended (killed
// in the middle of a save) and that have not changed for a minute. A process of another
// host, or of a container of its own, writes under a name whose process this one cannot see;
// such a file is taken only when it has lain unchanged long enough that no save still writes
// it.
void SweepLeftovers(const std::string& folder)
{
    static std::mutex sweeping;
    static std::set<std::string> swept;
    const std::lock_guard lock(sweeping);
    if (!swept.insert(folder).second)
        return;
    DIR* entries = ::opendir(folder.c_str());
    if (entries == nullptr)
        return;
    const time_t stale = ::time(nullptr) - 60;
    while (const dirent* entry = ::readdir(entries)) {
        const std::optional<pid_t> owner = OwnerOf(entry->d_name);
        struct stat info {};
        if (owner && ::kill(*owner, 0) != 0 && errno == ESRCH &&
            ::fstatat(::dirfd(entries), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_mtime < stale)
            ::unlinkat(::dirfd(entries), entry->d_name, 0);
    }
    ::closedir(entries);
}

// A new hidden name in `folder` for a file of this process.
std::string HiddenName(const std::string& folder)
{
    static std::atomic<unsigned> counter{0};
    return folder + "/.layerpix-" + HostName() + '-' + std::to_string(::getpid()) + '-' +
           std::to_string(counter++) + ".tmp";
}

// The new file, open for writing, with no name where the file system allows it (nothing is
// left behind however the process ends), else under a hidden name. Registered for removal by
// a stop signal before it is created.
struct NewFile {
    int fd = -1;
    std::string hidden;   // empty while the file has no name
    std::optional<InFlightFile> watched;

    void Name(std::string name)
    {
        hidden = std::move(name);
        watched.reset();
        watched.emplace(hidden.c_str());
    }
};

// O_TMPFILE files are named through /proc, which a sandbox may lack.
bool CanNameUnnamedFiles()
{
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
}

Result<void> CreateBeside(const std::string& folder, mode_t mode, NewFile& file)
{
    if (CanNameUnnamedFiles()) {
        file.fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (file.fd >= 0)
            return {};
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return FileFailure(FileStep::CreateIn, folder, errno);
    }
    SweepLeftovers(folder);
    for (int attempt = 0; file.fd < 0 && attempt < 100; ++attempt) {
        file.Name(HiddenName(folder));
        file.fd = ::open(file.hidden.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (file.fd < 0 && errno != EEXIST)
            break;
    }
    if (file.fd < 0)
        return FileFailure(FileStep::CreateIn, folder, errno);
    return {};
}

// Gives the written file the name `target`: with Existing::Keep by a link, which fails while
// the name is taken; else by a rename over it. An unnamed file is first linked to a hidden
// name, for the moment the rename takes.
Result<void> Publish(NewFile& file, const std::string& target, const std::string& folder,
                     Existing existing)
{
    const std::string unnamed = "/proc/self/fd/" + std::to_string(file.fd);
    if (file.hidden.empty() && existing == Existing::Keep) {
        if (::linkat(AT_FDCWD, unnamed.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) != 0)
            return errno == EEXIST ? ExistsAlready() : FileFailure(FileStep::Replace, target, errno);
        return {};
    }
    if (file.hidden.empty()) {
        SweepLeftovers(folder);
        file.Name(HiddenName(folder));
        if (::linkat(AT_FDCWD, unnamed.c_str(), AT_FDCWD, file.hidden.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            const int error = errno;
            file.hidden.clear();
            return FileFailure(FileStep::CreateIn, folder, error);
        }
    }
    const int published = existing == Existing::Keep
                              ? ::link(file.hidden.c_str(), target.c_str())
                              : ::rename(file.hidden.c_str(), target.c_str());
    if (published != 0)
        return existing == Existing::Keep && errno == EEXIST ? ExistsAlready()
                                                             : FileFailure(FileStep::Replace, target, errno);
    if (existing == Existing::Keep)
        ::unlink(file.hidden.c_str());
    file.hidden.clear();
    return {};
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

Result<void> WriteFileSafely(const char* path, const void* data, std::size_t size,
                             Existing existing)
{
    const ByteRange whole{data, size};
    return WriteFileSafely(path, {&whole, 1}, existing);
}

Result<void> WriteFileSafely(const char* path, std::span<const ByteRange> pieces,
                             Existing existing)
{
    return WriteFileSafely(
        path,
        [pieces](const WriteBytes& write) {
            for (const ByteRange& piece : pieces)
                if (!write(piece.data, piece.size))
                    break;
            return Result<void>();
        },
        existing);
}

Result<void> WriteFileSafely(const char* path, const std::function<Result<void>(const WriteBytes&)>& produce,
                             Existing existing)
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
        if (existing == Existing::Keep)
            return ExistsAlready();
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

    const std::string folder = FolderOf(target);
    // A file that replaces another is private until it takes that file's permissions.
    NewFile file;
    if (Result<void> created = CreateBeside(folder, replacing ? 0600 : 0666, file); !created)
        return created;
    const int fd = file.fd;
    std::optional<Failure> failure;
    const Result<void> produced = produce([&](const void* data, std::size_t size) {
        if (!failure && !WriteAll(fd, static_cast<const std::uint8_t*>(data), size))
            failure = FileFailure(FileStep::Write, target, errno);
        return !failure;
    });
    if (!failure && !produced)
        failure = produced.failure();
    // After writing, which clears the set-user-ID and set-group-ID bits.
    if (!failure && replacing)
        KeepOwnerAndPermissions(fd, old);
    if (!failure && ::fsync(fd) != 0)
        failure = FileFailure(FileStep::Write, target, errno);
    // Only a whole file, synced to the disk, takes the target's name.
    const Result<void> published =
        failure ? Result<void>(*failure) : Publish(file, target, folder, existing);
    if (!published)
        failure = published.failure();
    if (::close(fd) != 0 && !failure)
        failure = FileFailure(FileStep::Write, target, errno);
    if (!file.hidden.empty())
        ::unlink(file.hidden.c_str());
    if (failure)
        return *failure;
    SyncFolder(folder);
    return {};
}
