#pragma once
// The settings file on disk, in the profile (INI) format of ProfileText.h. Each call opens
// and closes the file by itself; nothing is cached between calls.
#include "base/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The bytes of the profile file `file`, read in one go: empty when it is missing or is not a
// plain file (a folder, a device or a pipe, which is never read and which the writer refuses
// to replace). Fails when it cannot be read or is larger than a settings file can be (64 MiB).
Result<QByteArray> ReadProfileFile(const QString& file);

struct ProfileEntry {
    QString section;
    QString key;
    QString value;
};

// Sets each of `entries`, in order, in the profile file `file` as SetProfileValue does,
// creating the file, sections and keys as needed and keeping every other line as it was.
// The file is replaced once, as a whole, by WriteFileSafely (files/SafeFile.h), so it holds
// either all the new values or none of them. Fails, naming the file, without writing when an
// entry could not be read back (see IsStorableProfileEntry) or the existing file cannot be read.
Result<void> WriteProfileStrings(const QString& file, const QList<ProfileEntry>& entries);
