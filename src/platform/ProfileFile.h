#pragma once
// The settings file on disk, in the profile (INI) format of ProfileText.h, UTF-8 encoded.
// Each call opens and closes the file by itself; nothing is cached between calls.
#include <QString>
#include <optional>

// The value of `key` in `section` of the profile file `file`; std::nullopt when the file cannot
// be read or has no such section or key (the caller then applies its default).
std::optional<QString> GetProfileString(const QString& file, const QString& section,
                                        const QString& key);

// Sets `key` in `section` of `file` to `value`, creating the file, section and key as needed
// and keeping every other line as it was. The file is replaced as a whole only once the new
// text is complete, so on failure the old file stays as it was. Returns false on failure and
// then puts a reason naming the file into `error` (when given). Fails without writing when the
// entry could not be read back (see IsStorableProfileEntry) or the existing file cannot be read.
bool WriteProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value, QString* error = nullptr);
