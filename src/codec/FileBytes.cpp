// The write-beside-then-rename rule for saving.
#include "codec/CodecInternal.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates a new, empty file in `folder` under an unused hidden name, with the permissions
// of the file it will replace, if any, and otherwise those of any new file (umask applied).
int CreateTemporary(const std::string& folder, const char* target, std::string& tempPath)
{
    static std::atomic<unsigned> counter{0};
    struct stat old {};
    const bool replacing = ::stat(target, &old) == 0 && S_ISREG(old.st_mode);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "/.layerpix-" + std::to_string(::getpid()) + "-"
                   + std::to_string(counter++) + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            if (replacing)
                ::fchmod(fd, old.st_mode & 07777);
            return fd;
        }
        if (errno != EEXIST)
            break;
    }
    return -1;
}

void SyncFolder(const std::string& folder)
{
    // The rename is durable only once the folder itself reaches the disk; the file is
    // already saved when this fails, so a failure here is not reported.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::int16_t ReplaceFileWith(const char* path, const std::vector<std::uint8_t>& bytes)
{
    const std::string folder = FolderOf(path);
    std::string tempPath;
    const int fd = CreateTemporary(folder, path, tempPath);
    if (fd < 0)
        return CodecSystemFailure("cannot create file", errno);

    const char* failedStep = nullptr;
    if (!WriteAll(fd, bytes.data(), bytes.size()))
        failedStep = "cannot write file";
    else if (::fsync(fd) != 0)
        failedStep = "cannot flush file";
    int err = errno;
    if (::close(fd) != 0 && failedStep == nullptr) {
        failedStep = "cannot write file";
        err = errno;
    }
    if (failedStep == nullptr && ::rename(tempPath.c_str(), path) != 0) {
        failedStep = "cannot replace file";
        err = errno;
    }
    if (failedStep != nullptr) {
        ::unlink(tempPath.c_str());
        return CodecSystemFailure(failedStep, err);
    }
    SyncFolder(folder);
    return kCodecOk;
}
