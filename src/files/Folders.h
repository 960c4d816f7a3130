#pragma once
// Folders made as a save needs them. Plain POSIX, no Qt.
#include "base/Result.h"

#include <string>

// Makes the folder `path` (bytes in the file system's encoding) and every missing folder
// above it, as `mkdir -p` does; an existing folder is no failure. A failure names the folder
// that could not be made and gives the system's reason.
Result<void> MakeFolders(const std::string& path);
