#pragma once
#include <QString>
#include <cstdint>

// What CheckFile finds under a name.
enum FileStatus : std::int16_t {
    FileStatusExists = 0,    // a file of at least one byte
    FileStatusNoName = 1,    // the name is empty or spaces only
    FileStatusMissing = 2,   // nothing of that name exists
    FileStatusEmpty = 3,     // a file of zero bytes
    // The file system could not tell (no permission to look, a name too long...). The
    // "システムエラー" message with the error number and the system's text has been shown.
    FileStatusUnknown = 4,
};

// Looks at the file `name`. A name of spaces only is no name; otherwise the name is
// taken as it stands.
FileStatus CheckFile(const QString& name);
