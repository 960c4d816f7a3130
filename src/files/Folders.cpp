#include "files/Folders.h"

#include "base/Failure.h"

#include <cerrno>
#include <sys/stat.h>

Result<void> MakeFolders(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode) ? Result<void>() : FileFailure(FileStep::MakeFolder, path, EEXIST);
    const auto slash = path.find_last_not_of('/') == std::string::npos
                           ? std::string::npos
                           : path.rfind('/', path.find_last_not_of('/'));
    if (slash != std::string::npos && slash > 0)
        if (Result<void> above = MakeFolders(path.substr(0, slash)); !above)
            return above;
    if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST)
        return FileFailure(FileStep::MakeFolder, path, errno);
    return {};
}
