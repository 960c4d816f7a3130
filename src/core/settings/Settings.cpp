#include "core/settings/Settings.h"

#include "core/settings/SettingsLocation.h"
#include "core/settings/ProfileFile.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <limits>

SettingsRecord Settings;

namespace {

struct IniEntry {
    const char* section;
    const char* key;
};

const IniEntry FrontEntry{"Image", "Front"};
const IniEntry BackEntry{"Image", "Back"};
const IniEntry TransColorEntry{"Param", "TransColor"};
const IniEntry TransRateEntry{"Param", "TransRate"};
const IniEntry JpegRateEntry{"JPEG", "Rate"};
const IniEntry JpegPrgrsEntry{"JPEG", "Prgrs"};
const IniEntry PngRateEntry{"PNG", "Rate"};
const IniEntry GifOptionEntry{"Options", "GIF"};

QString KindText(SettingsNumberError kind)
{
    return kind == SettingsNumberError::Overflow ? QStringLiteral("overflow")
                                                 : QStringLiteral("type mismatch");
}

std::string Describe(SettingsNumberError kind, const QString& file, const QString& section,
                     const QString& key, const QString& value)
{
    return QStringLiteral("%1 in the settings file %2: [%3] %4=\"%5\"")
        .arg(KindText(kind), QDir::toNativeSeparators(file), section, key, value)
        .toStdString();
}

QString ReadText(const QString& path, const IniEntry& entry, const QString& defaultText)
{
    return ReadIniString(entry.section, entry.key, defaultText, path);
}

// The entry converted to `Int`; a missing entry gives `defaultValue`.
template <typename Int>
Int ReadNumber(const QString& path, const IniEntry& entry, Int defaultValue)
{
    const QString text = ReadText(path, entry, QString::number(defaultValue));
    const SettingsNumber number = ParseSettingsNumber(text, std::numeric_limits<Int>::min(),
                                                      std::numeric_limits<Int>::max());
    if (number.error != SettingsNumberError::None)
        throw SettingsError(number.error, path, entry.section, entry.key, text);
    return static_cast<Int>(number.value);
}

ProfileEntry Entry(const IniEntry& entry, const QString& value)
{
    return {entry.section, entry.key, value};
}

} // namespace

SettingsError::SettingsError(SettingsNumberError kind, const QString& file,
                             const QString& section, const QString& key, const QString& value)
    : std::runtime_error(Describe(kind, file, section, key, value))
    , kind_(kind)
    , file_(file)
    , section_(section)
    , key_(key)
    , value_(value)
{
}

void LoadSettings()
{
    LoadSettings(QCoreApplication::applicationDirPath());
}

void LoadSettings(const QString& programFolder)
{
    const SettingsRecord defaults;
    SettingsRecord read;
    read.IniPath = SettingsFilePath(programFolder);
    const QString& path = read.IniPath;
    read.Front = ReadText(path, FrontEntry, defaults.Front);
    read.Back = ReadText(path, BackEntry, defaults.Back);
    read.TransColor = ReadNumber(path, TransColorEntry, defaults.TransColor);
    // Read within 16 bits, as the file has always held it; the rate control knows 0 to 100 only.
    const std::int16_t rate =
        ReadNumber(path, TransRateEntry, static_cast<std::int16_t>(defaults.TransRate));
    read.TransRate = std::clamp<std::int32_t>(rate, 0, 100);
    read.JpegRate = ReadNumber(path, JpegRateEntry, defaults.JpegRate);
    read.JpegPrgrs = ReadNumber(path, JpegPrgrsEntry, defaults.JpegPrgrs);
    read.PngRate = ReadNumber(path, PngRateEntry, defaults.PngRate);
    read.GifOption = ReadNumber(path, GifOptionEntry, defaults.GifOption);
    Settings = read;
}

QString SaveSettings()
{
    // Every key in one replacement of the file, so that it never holds part of one save and
    // part of another. The GIF option is left alone: only a user editing the file by hand
    // sets it.
    QString error;
    WriteProfileStrings(Settings.IniPath,
                        {Entry(FrontEntry, Settings.Front), Entry(BackEntry, Settings.Back),
                         Entry(TransColorEntry, QString::number(Settings.TransColor)),
                         Entry(TransRateEntry, QString::number(Settings.TransRate)),
                         Entry(JpegRateEntry, QString::number(Settings.JpegRate)),
                         Entry(JpegPrgrsEntry, QString::number(Settings.JpegPrgrs)),
                         Entry(PngRateEntry, QString::number(Settings.PngRate))},
                        &error);
    return error;
}

QString ReadIniString(const QString& section, const QString& key, const QString& defaultText,
                      const QString& path)
{
    return TrimAtNul(GetProfileString(path, section, key).value_or(defaultText));
}

QString AddBackslash(const QString& path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

QString TrimAtNul(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.first(nul);
}
