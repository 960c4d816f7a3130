// The batch command's options and how their open values are settled, as plain tables.
#include "batch/BatchOptions.h"

#include <gtest/gtest.h>

namespace {

const QStringList kRequired{"--foreground", "f.png", "-o", "out", "b.jpg"};

// The parsed options as one line of text, so every row compares all of them at once.
std::string Describe(const ParsedCommandLine& parsed)
{
    if (parsed.action == BatchAction::Help)
        return "help";
    if (parsed.action == BatchAction::Version)
        return "version";
    if (parsed.action == BatchAction::UsageError)
        return "error: " + parsed.error.toStdString();
    const BatchOptions& o = parsed.options;
    const auto number = [](const auto& value) {
        return value ? std::to_string(*value) : std::string("-");
    };
    const char* formats[] = {"bmp", "jpg", "png"};
    return "fg=" + o.foreground.toStdString() + " key=" + number(o.key) +
           " rate=" + number(o.rate) + " at=" + std::to_string(o.x) + "," + std::to_string(o.y) +
           " format=" + (o.format ? formats[int(*o.format)] : "-") +
           " jpeg=" + number(o.jpegRate) + (o.progressive ? " progressive" : "") +
           " png=" + number(o.pngRate) + (o.overwrite ? " overwrite" : "") +
           " jobs=" + number(o.jobs) + " out=" + o.outputFolder.toStdString() +
           " backgrounds=" + o.backgrounds.join(u'|').toStdString() +
           " lists=" + o.lists.join(u'|').toStdString();
}

TEST(BatchCommandLine, ParsesEveryOptionAndRefusesBadValuesAndMissingParts)
{
    const QStringList& r = kRequired;
    const std::string plain = "fg=f.png key=- rate=- at=0,0 format=- jpeg=- png=- jobs=- out=out ";
    const std::string noForeground = "error: no foreground: give --foreground PICTURE";
    const std::pair<QStringList, std::string> rows[] = {
        {r, plain + "backgrounds=b.jpg lists="},
        {r + QStringList{"--key", "FF00ff", "--rate", "70", "--at", "-10,20", "--format", "JPG",
                         "--jpeg-rate", "1", "--progressive", "--png-rate", "2", "--overwrite",
                         "--jobs", "3", "--list", "-", "--list", "l.txt", "c.bmp"},
         "fg=f.png key=16711935 rate=70 at=-10,20 format=jpg jpeg=1 progressive png=2 "
         "overwrite jobs=3 out=out backgrounds=b.jpg|c.bmp lists=-|l.txt"},
        {r + QStringList{"--key=#123456", "--at=2147483647,-2147483648", "--format=bmp", "--rate=0"},
         "fg=f.png key=5649426 rate=0 at=2147483647,-2147483648 format=bmp jpeg=- png=- jobs=- "
         "out=out backgrounds=b.jpg lists="},
        {r + QStringList{"--", "--rate"}, plain + "backgrounds=b.jpg|--rate lists="},
        {r + QStringList{"--frobnicate"}, "error: Unknown option 'frobnicate'."},
        {r + QStringList{"--rate"}, "error: Missing value after '--rate'."},
        {r + QStringList{"--rate", "500", "--help"}, "help"},
        {r + QStringList{"--frobnicate", "--version"}, "version"},
        {{"-o", "out", "b.jpg"}, noForeground},
        {{"--foreground", "", "-o", "out", "b.jpg"}, noForeground},
        {{"--foreground", "f.png", "b.jpg"}, "error: no output folder: give -o OUTDIR"},
        {{"--foreground", "f.png", "-o", "out"},
         "error: no background: name one or more, or give --list FILE"},
        {{"--foreground", "f.png", "-oout", "--list", "l"}, plain + "backgrounds= lists=l"},
    };
    for (const auto& [arguments, expected] : rows) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        EXPECT_EQ(Describe(ParseBatchCommandLine(arguments)), expected);
    }
    const struct {
        const char* option;
        QStringList values;
        const char* takes;
    } badValues[] = {
        {"--key", {"12345", "0x1234", "12345G"}, "six hexadecimal digits RRGGBB"},
        {"--rate", {"101", "-1", "50.5", "+5", ""}, "a whole number from 0 to 100"},
        {"--at", {"5", "1,2,3", "2147483648,0", "1, 2"}, "two whole numbers X,Y"},
        {"--format", {"jpeg"}, "bmp, jpg or png"},
        {"--jpeg-rate", {"0", "101"}, "a whole number from 1 to 100"},
        {"--png-rate", {"3"}, "0, 1 or 2"},
        {"--jobs", {"0", "many"}, "a whole number from 1 to 256"},
    };
    for (const auto& row : badValues)
        for (const QString& value : row.values) {
            const QString expected =
                QStringLiteral("error: invalid value '%1' for %2: %3")
                    .arg(value, QLatin1String(row.option), QLatin1String(row.takes));
            EXPECT_EQ(Describe(ParseBatchCommandLine(kRequired + QStringList{row.option, value})),
                      expected.toStdString());
        }
}

TEST(BatchSettings, OpenValuesComeFromTheSettingsAndRatesFromThemAreChecked)
{
    const SettingsRecord stored{.IniPath = "/p/Layerpix.ini", .Front = {}, .Back = {},
                                .TransColor = 0x00FF00FF, .TransRate = 30, .JpegRate = 20,
                                .JpegPrgrs = -1, .PngRate = 2};
    const auto settled = [&](const QStringList& extra, const SettingsRecord& record, int cores) {
        const ParsedCommandLine parsed = ParseBatchCommandLine(kRequired + extra);
        EXPECT_EQ(parsed.action, BatchAction::Compose) << parsed.error.toStdString();
        const SettledBatchSettings s = SettleBatchSettings(parsed.options, record, cores);
        if (!s.error.isEmpty())
            return "error: " + s.error.toStdString();
        const BatchSettings& b = s.settings;
        return "key=" + std::to_string(b.key) + " rate=" + std::to_string(b.rate) +
               " at=" + std::to_string(b.x) + "," + std::to_string(b.y) +
               " jpeg=" + std::to_string(b.save.jpegRate) + "/" + std::to_string(b.save.jpegPrgrs) +
               " png=" + std::to_string(b.save.pngRate) + " jobs=" + std::to_string(b.jobs) +
               (b.overwrite ? " overwrite" : "");
    };
    const SettingsRecord defaults;
    SettingsRecord badJpeg = stored, badPng = stored;
    badJpeg.JpegRate = 300;
    badPng.PngRate = 7;
    const struct {
        QStringList extra;
        const SettingsRecord& record;
        int cores;
        std::string expected;
    } rows[] = {
        {{}, stored, 2, "key=16711935 rate=30 at=0,0 jpeg=20/-1 png=2 jobs=2"},
        {{}, defaults, 0, "key=0 rate=100 at=0,0 jpeg=50/0 png=1 jobs=1"},
        {{"--key", "010203", "--rate", "0", "--at", "3,-4", "--jpeg-rate", "90", "--png-rate",
          "0", "--jobs", "5", "--overwrite"},
         stored, 2, "key=197121 rate=0 at=3,-4 jpeg=90/-1 png=0 jobs=5 overwrite"},
        {{"--progressive"}, defaults, 8, "key=0 rate=100 at=0,0 jpeg=50/-1 png=1 jobs=8"},
        {{}, badJpeg, 1,
         "error: [JPEG] Rate=300 in the settings file /p/Layerpix.ini is not a whole number "
         "from 1 to 100; give --jpeg-rate"},
        {{"--format", "jpg"}, badPng, 1, "key=16711935 rate=30 at=0,0 jpeg=20/-1 png=7 jobs=1"},
        {{"--format", "png"}, badJpeg, 1, "key=16711935 rate=30 at=0,0 jpeg=300/-1 png=2 jobs=1"},
        {{"--jpeg-rate", "5"}, badJpeg, 1, "key=16711935 rate=30 at=0,0 jpeg=5/-1 png=2 jobs=1"},
        {{"--format", "png"}, badPng, 1,
         "error: [PNG] Rate=7 in the settings file /p/Layerpix.ini is not 0, 1 or 2; "
         "give --png-rate"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.extra.join(u' ').toStdString());
        EXPECT_EQ(settled(row.extra, row.record, row.cores), row.expected);
    }
}

} // namespace
