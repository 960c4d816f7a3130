#pragma once
// The settings the program keeps between runs in its settings file, Layerpix.ini.
#include "base/Result.h"

#include <QString>
#include <cstdint>
#include <optional>

// The settings as a value: read once at start, handed to whoever needs them, written whole.
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
    // The main window's size, kept once it was enlarged; 0 until then, and never written
    // while 0, so a file without [Window] stays without it.
    std::int16_t WindowWidth = 0;
    std::int16_t WindowHeight = 0;
    // The choices of the main window's menu, in [Options]: whether the foreground keeps its
    // transparency (non-zero), the key's tolerance in percent (0..100; read clamped into
    // it), and whether the composite view recomposes while the foreground is dragged
    // (non-zero). Empty until the file holds them or the user chooses, and never written
    // while empty, so a file without them stays without them; empty means off and 0.
    std::optional<std::int16_t> Alpha;
    std::optional<std::int16_t> KeyTolerance;
    std::optional<std::int16_t> LiveDrag;
    // JPEG composites over a JPEG background keep the background's blocks outside the
    // foreground when non-zero (core/view/StampedJpeg.h); none until the user changes it or
    // the file holds it, and never written while none.
    std::optional<std::int16_t> KeepJpegBlocks;
};

// The choices as the program uses them.
inline bool AlphaChosen(const SettingsRecord& settings)
{
    return settings.Alpha.value_or(0) != 0;
}
inline std::int32_t KeyToleranceChosen(const SettingsRecord& settings)
{
    return settings.KeyTolerance.value_or(0);
}
inline bool LiveDragChosen(const SettingsRecord& settings)
{
    return settings.LiveDrag.value_or(0) != 0;
}
inline bool KeepJpegBlocksChosen(const SettingsRecord& settings)
{
    return settings.KeepJpegBlocks.value_or(0) != 0;
}

struct LoadedSettings {
    SettingsRecord settings;
    // Why the file, which is there, could not be read (it cannot be opened, or is larger than
    // a settings file can be): the settings are then the defaults, and the file is never
    // replaced by a save, which reads it first.
    std::optional<Failure> unread;
};

// Finds the settings file of the program in `programFolder` (SettingsLocation.h), reads it
// once and converts every entry; missing entries take the defaults of SettingsRecord. A
// transparency rate outside 0 to 100 is clamped into it. Fails for a value that does not
// convert (a type mismatch or an overflow), naming the file, the section, the key and the
// value; the file is left as it was.
Result<LoadedSettings> LoadSettings(const QString& programFolder);
// The same reading of the bytes `content` of the settings file `path`.
Result<SettingsRecord> ReadSettings(const QByteArray& content, const QString& path);

// Writes every setting but the GIF option to `settings.IniPath`, numbers as plain decimal
// text, in one replacement of the file: it holds either all the old values or all the new
// ones. A value that reads from the file as it stands in `settings` keeps its bytes there (a
// path the earlier program wrote in Shift-JIS stays Shift-JIS until it changes). The windows
// do not report a failure: the values stay in memory for the next save.
Result<void> SaveSettings(const SettingsRecord& settings);

// The value of `key` in `section` of the settings file's bytes `content` up to its first NUL
// character; `defaultText` when the section or the key is missing.
QString ReadIniString(const QByteArray& content, const QString& section, const QString& key,
                      const QString& defaultText);
