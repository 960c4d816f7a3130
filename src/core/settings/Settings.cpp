#include "core/settings/Settings.h"

#include "core/settings/ProfileFile.h"
#include "core/settings/ProfileText.h"
#include "core/settings/SettingsLocation.h"
#include "core/settings/SettingsNumber.h"
#include "core/text/TextUtilities.h"

#include <QDir>
#include <algorithm>
#include <limits>

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
const IniEntry WindowWidthEntry{"Window", "Width"};
const IniEntry WindowHeightEntry{"Window", "Height"};
const IniEntry AlphaEntry{"Options", "Alpha"};
const IniEntry KeyToleranceEntry{"Options", "KeyTolerance"};
const IniEntry LiveDragEntry{"Options", "LiveDrag"};
const IniEntry KeepJpegBlocksEntry{"Options", "KeepJpegBlocks"};

// Reads the entries of one settings file's bytes; the first value that does not convert
// leaves its failure behind.
class EntryReader {
public:
    EntryReader(const QString& path, const QByteArray& content) : path_(path), content_(content) {}

    QString Text(const IniEntry& entry, const QString& defaultText) const
    {
        return ReadIniString(content_, entry.section, entry.key, defaultText);
    }

    // The entry converted to `Int`; a missing entry gives `defaultValue`.
    template <typename Int>
    Int Number(const IniEntry& entry, Int defaultValue)
    {
        const QString text = Text(entry, QString::number(defaultValue));
        const Result<std::int64_t> number = ParseSettingsNumber(
            text, std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max());
        if (number)
            return static_cast<Int>(*number);
        if (!failure_)
            failure_ = Describe(number.failure(), entry, text);
        return defaultValue;
    }

    // The same for an entry that has no default: empty when it is missing.
    template <typename Int>
    std::optional<Int> Optional(const IniEntry& entry)
    {
        if (!FindProfileValue(content_, entry.section, entry.key))
            return std::nullopt;
        return Number(entry, Int{0});
    }

    const std::optional<Failure>& failure() const { return failure_; }

private:
    Failure Describe(const Failure& kind, const IniEntry& entry, const QString& value) const
    {
        const QString file = QDir::toNativeSeparators(path_);
        return {QStringLiteral("%1 in the settings file %2: [%3] %4=\"%5\"")
                    .arg(QString::fromStdString(kind.english), file, entry.section, entry.key, value)
                    .toStdString(),
                QStringLiteral("設定ファイルの値を読めないため、起動を中止します。\n\n"
                               "ファイル: %1\nセクション: [%2]\nキー: %3\n値: \"%4\"\n%5")
                    .arg(file, entry.section, entry.key, value,
                         QString::fromStdString(kind.japanese))
                    .toStdString()};
    }

    const QString& path_;
    const QByteArray& content_;
    std::optional<Failure> failure_;
};

ProfileEntry Entry(const IniEntry& entry, const QString& value)
{
    return {entry.section, entry.key, value};
}

} // namespace

Result<SettingsRecord> ReadSettings(const QByteArray& content, const QString& path)
{
    const SettingsRecord defaults;
    SettingsRecord read;
    read.IniPath = path;
    EntryReader entries(read.IniPath, content);
    read.Front = entries.Text(FrontEntry, defaults.Front);
    read.Back = entries.Text(BackEntry, defaults.Back);
    read.TransColor = entries.Number(TransColorEntry, defaults.TransColor);
    // Read within 16 bits, as the file has always held it; the rate control knows 0 to 100 only.
    const std::int16_t rate =
        entries.Number(TransRateEntry, static_cast<std::int16_t>(defaults.TransRate));
    read.TransRate = std::clamp<std::int32_t>(rate, 0, 100);
    read.JpegRate = entries.Number(JpegRateEntry, defaults.JpegRate);
    read.JpegPrgrs = entries.Number(JpegPrgrsEntry, defaults.JpegPrgrs);
    read.PngRate = entries.Number(PngRateEntry, defaults.PngRate);
    read.GifOption = entries.Number(GifOptionEntry, defaults.GifOption);
    read.WindowWidth = entries.Number(WindowWidthEntry, defaults.WindowWidth);
    read.WindowHeight = entries.Number(WindowHeightEntry, defaults.WindowHeight);
    read.Alpha = entries.Optional<std::int16_t>(AlphaEntry);
    read.LiveDrag = entries.Optional<std::int16_t>(LiveDragEntry);
    if (const auto tolerance = entries.Optional<std::int16_t>(KeyToleranceEntry))
        read.KeyTolerance = std::clamp<std::int16_t>(*tolerance, 0, 100);
    read.KeepJpegBlocks = entries.Optional<std::int16_t>(KeepJpegBlocksEntry);
    if (entries.failure())
        return *entries.failure();
    return read;
}

Result<LoadedSettings> LoadSettings(const QString& programFolder)
{
    const QString path = SettingsFilePath(programFolder);
    // Read once, so that a save by another program in the meantime cannot mix two sets. A
    // file that cannot be read gives the defaults; its own save then fails and leaves it be.
    const Result<QByteArray> file = ReadProfileFile(path);
    Result<SettingsRecord> read = ReadSettings(file.value_or(QByteArray()), path);
    if (!read)
        return read.failure();
    return LoadedSettings{*read, file ? std::nullopt : std::optional<Failure>(file.failure())};
}

Result<void> SaveSettings(const SettingsRecord& settings)
{
    // Every key in one replacement of the file, so that it never holds part of one save and
    // part of another. The GIF option is left alone: only a user editing the file by hand
    // sets it.
    QList<ProfileEntry> entries = {
        Entry(FrontEntry, settings.Front), Entry(BackEntry, settings.Back),
        Entry(TransColorEntry, QString::number(settings.TransColor)),
        Entry(TransRateEntry, QString::number(settings.TransRate)),
        Entry(JpegRateEntry, QString::number(settings.JpegRate)),
        Entry(JpegPrgrsEntry, QString::number(settings.JpegPrgrs)),
        Entry(PngRateEntry, QString::number(settings.PngRate))};
    if (settings.WindowWidth > 0 && settings.WindowHeight > 0)
        entries << Entry(WindowWidthEntry, QString::number(settings.WindowWidth))
                << Entry(WindowHeightEntry, QString::number(settings.WindowHeight));
    for (const auto& [entry, value] : {std::pair{AlphaEntry, settings.Alpha},
                                       {KeyToleranceEntry, settings.KeyTolerance},
                                       {LiveDragEntry, settings.LiveDrag},
                                       {KeepJpegBlocksEntry, settings.KeepJpegBlocks}})
        if (value)
            entries << Entry(entry, QString::number(*value));
    return WriteProfileStrings(settings.IniPath, entries);
}

QString ReadIniString(const QByteArray& content, const QString& section, const QString& key,
                      const QString& defaultText)
{
    return TrimAtNul(FindProfileValue(content, section, key).value_or(defaultText));
}
