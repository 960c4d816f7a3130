#pragma once
// The settings the program keeps between runs in its settings file, Layerpix.ini, and the two
// text helpers that the settings share with the dialogs.
#include "core/settings/SettingsNumber.h"

#include <QString>
#include <cstdint>
#include <stdexcept>

// The process-wide settings. Every part reads and assigns the fields directly; changes reach the
// file at the next SaveSettings.
struct SettingsRecord {
    QString IniPath;              // full path of the settings file, set by LoadSettings
    QString Front;                // foreground picture path; empty: none
    QString Back;                 // background picture path; empty: none
    std::int32_t TransColor = 0;  // transparent colour, a ColorRef 0x00BBGGRR
    std::int32_t TransRate = 100; // foreground weight in percent, 0 to 100
    std::int16_t JpegRate = 50;   // JPEG compression rate, 1 to 100 as the options dialog sets it
    std::int16_t JpegPrgrs = 0;   // progressive JPEG when non-zero; the options dialog writes -1
    std::int16_t PngRate = 1;     // PNG save value as the options dialog stores it
    std::int16_t GifOption = 1;   // GIF sources offered/accepted; set by hand only, never written
};

extern SettingsRecord Settings;

// A numeric value of the settings file that cannot be converted. It names the file, the
// section, the key and the offending value so that start-up can report all four.
class SettingsError : public std::runtime_error {
public:
    // `kind` is SettingsNumberError::TypeMismatch or SettingsNumberError::Overflow.
    SettingsError(SettingsNumberError kind, const QString& file, const QString& section,
                  const QString& key, const QString& value);

    SettingsNumberError kind() const { return kind_; }
    const QString& file() const { return file_; }
    const QString& section() const { return section_; }
    const QString& key() const { return key_; }
    const QString& value() const { return value_; }

private:
    SettingsNumberError kind_;
    QString file_;
    QString section_;
    QString key_;
    QString value_;
};

// Finds the settings file for the program in its executable's folder (see SettingsFilePath) and
// reads every setting into `Settings`; missing entries take the defaults of SettingsRecord.
// Throws SettingsError for a value that does not convert, leaving `Settings` and the file as
// they were. A transparency rate outside 0 to 100 is clamped into it.
void LoadSettings();
// The same with the program's folder given, for a program folder other than the executable's.
void LoadSettings(const QString& programFolder);

// Writes every setting but the GIF option to `Settings.IniPath`, numbers as plain decimal text,
// in one replacement of the file: it holds either all the old values or all the new ones.
// A value that reads from the file as it stands in `Settings` keeps its bytes there (a path
// the earlier program wrote in Shift-JIS stays Shift-JIS until it changes). Returns the reason
// of a failure (empty on success), which the program does not show: a failed write is
// ignored, and the values stay in memory for the next save.
QString SaveSettings();

// The value of `key` in `section` of the settings file `path` up to its first NUL character;
// `defaultText` when the file, the section or the key is missing. The whole value is returned.
QString ReadIniString(const QString& section, const QString& key, const QString& defaultText,
                      const QString& path);

// `path` with a folder separator '/' at its end (unchanged if it already ends in one).
QString AddBackslash(const QString& path);

// The part of `text` before its first NUL character; all of it when it has none.
QString TrimAtNul(const QString& text);
