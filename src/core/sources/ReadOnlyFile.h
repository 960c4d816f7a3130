#pragma once
#include "base/Result.h"

#include <QFile>
#include <QString>

// Opens the file `path` for reading as `file`. Qt's own open words the system's reason in
// English alone and refuses a folder without one, so the file is opened here; a failure gives
// the system's reason in both languages and leaves the name to the caller. Only a plain file
// opens: a pipe, a device or a socket is refused without waiting for it.
Result<void> OpenToRead(const QString& path, QFile& file);
