#pragma once
// The settings file on disk, in the profile (INI) format of ProfileText.h.
// Each call opens and closes the file by itself; nothing is cached between calls.
#include <QList>
#include <QString>
#include <optional>

// The value of `key` in `section` of the profile file `file`; std::nullopt when the file cannot
// be read, is not a plain file, or has no such section or key (the caller then applies its
// default).
std::optional<QString> GetProfileString(const QString& file, const QString& section,
                                        const QString& key);

struct ProfileEntry {
    QString section;
    QString key;
    QString value;
};

// Sets each of `entries`, in order, in the profile file `file` as SetProfileValue does,
// creating the file, sections and keys as needed and keeping every other line as it was.
// The file is replaced once, as a whole, by WriteFileSafely (SafeFile.h), so it holds either
// all the new values or none of them. Returns false on failure and then puts the reason,
// naming the file, into `error` (when given). Fails without writing when an entry could not be
// read back (see IsStorableProfileEntry) or the existing file cannot be read.
bool WriteProfileStrings(const QString& file, const QList<ProfileEntry>& entries,
                         QString* error = nullptr);
