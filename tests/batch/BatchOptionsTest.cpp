// The batch command's options and how their open values are settled, as one table.
#include "batch/BatchOptions.h"

#include <gtest/gtest.h>

namespace {
// The command line settled against the settings' values: the usage or settings error, or every value.
std::string Settled(const QStringList& arguments, const SettingsRecord& stored = {}, int cores = 1)
{
    const Result<BatchCommandLine> parsed = ParseBatchCommandLine(arguments);
    if (!parsed)
        return "error: " + parsed.failure().english;
    if (parsed->action != BatchAction::Compose)
        return parsed->action == BatchAction::Help ? "help" : "version";
    const Result<BatchSettings> settled = SettleBatchSettings(parsed->options, stored, cores);
    if (!settled)
        return "error: " + settled.failure().english;
    const BatchSettings& s = *settled;
    return QString::asprintf("key=%06x rate=%d at=%d,%d format=%s jpeg=%d/%d png=%d jobs=%d%s%s", s.key, s.rate, s.x, s.y,
                             s.format ? qPrintable(ExtensionOf(FormatOf(*s.format))) : "-", s.save.jpegRate,
                             s.save.jpegPrgrs, s.save.pngRate, s.jobs, s.overwrite ? " overwrite" : "", s.strip ? " strip" : "")
               .toStdString() +
           (s.keyTolerance ? " fuzz=" + std::to_string(s.keyTolerance) : "") + (s.alpha ? " alpha" : "") +
           (s.keepJpegBlocks ? " keep-blocks" : "");
}

// Every option at the largest value it takes, and at the smallest; what the command line leaves
// open comes from the settings, whose rates are checked only when their format is written.
TEST(BatchCommandLine, ParsesAndSettlesEveryOptionAndRefusesBadValuesAndMissingParts)
{
    const SettingsRecord stored{"/p.ini", {}, {}, 0x00FF00FF, 30, 300, -1, 7};
    const QStringList r{"--foreground", "f.png", "-o", "out", "b.jpg"};
    SettingsRecord kKeepsBlocks;
    kKeepsBlocks.KeepJpegBlocks = 1;
    const struct { QStringList arguments; SettingsRecord stored; int cores; std::string expected; } rows[] = {
        {r + QStringList{"--format", "bmp"}, {}, 0, "key=000000 rate=100 at=0,0 format=.bmp jpeg=50/0 png=1 jobs=1"},
        {r + QStringList{"--key", "FF00ff", "--rate", "100", "--at", "2147483647,-2147483648", "--format", "JPG",
                         "--jpeg-rate", "100", "--progressive", "--png-rate", "2", "--overwrite", "--jobs", "256", "--strip"},
         stored, 2, "key=ff00ff rate=100 at=2147483647,-2147483648 format=.jpg jpeg=100/-1 png=2 jobs=256 overwrite strip"},
        {r + QStringList{"--key=#010203", "--rate=0", "--at=-3,4", "--jpeg-rate=1", "--png-rate=0", "--jobs=1"},
         stored, 8, "key=030201 rate=0 at=-3,4 format=- jpeg=1/-1 png=0 jobs=1"},
        // The names the window's settings go by: the opacity and the PNG compression as the
        // options dialog names and shows it (its read-out 0 is the fastest, stored as 1).
        {r + QStringList{"--opacity", "80", "--png-compression", "fast"}, {}, 1,
         "key=000000 rate=80 at=0,0 format=- jpeg=50/0 png=1 jobs=1"},
        {r + QStringList{"--png-compression=normal"}, {}, 1, "key=000000 rate=100 at=0,0 format=- jpeg=50/0 png=0 jobs=1"},
        {r + QStringList{"--png-compression=best"}, {}, 1, "key=000000 rate=100 at=0,0 format=- jpeg=50/0 png=2 jobs=1"},
        {r + QStringList{"--png-compression=0"}, {}, 1, "key=000000 rate=100 at=0,0 format=- jpeg=50/0 png=1 jobs=1"},
        {r + QStringList{"--png-compression=1"}, {}, 1, "key=000000 rate=100 at=0,0 format=- jpeg=50/0 png=0 jobs=1"},
        {r + QStringList{"--keep-jpeg-blocks"}, {}, 1, "key=000000 rate=100 at=0,0 format=- jpeg=50/0 png=1 jobs=1 keep-blocks"},
        {r, kKeepsBlocks, 1, "key=000000 rate=100 at=0,0 format=- jpeg=50/0 png=1 jobs=1 keep-blocks"},
        {r + QStringList{"--opacity", "80", "--rate", "80"}, {}, 1,
         "error: --opacity and --rate name one value: give one of them"},
        {r + QStringList{"--png-compression", "best", "--png-rate", "2"}, {}, 1,
         "error: --png-compression and --png-rate name one value: give one of them"},
        {r + QStringList{"--png-rate", "1"}, stored, 2,
         "error: [JPEG] Rate=300 in the settings file /p.ini is not a whole number from 1 to 100; give --jpeg-rate"},
        {r + QStringList{"--format", "png"}, stored, 3,
         "error: [PNG] Rate=7 in the settings file /p.ini is not 0, 1 or 2; give --png-rate"},
        // The menu's choices: given, or as the settings hold them.
        {r + QStringList{"--alpha", "--fuzz", "100"}, {}, 1, "key=000000 rate=100 at=0,0 format=- jpeg=50/0 png=1 jobs=1 fuzz=100 alpha"},
        {r, {.Alpha = 1, .KeyTolerance = 30}, 1, "key=000000 rate=100 at=0,0 format=- jpeg=50/0 png=1 jobs=1 fuzz=30 alpha"},
        {r + QStringList{"--fuzz=0"}, {.Alpha = 0, .KeyTolerance = 30}, 1, "key=000000 rate=100 at=0,0 format=- jpeg=50/0 png=1 jobs=1"},
        {r + QStringList{"--rate", "500", "--help"}, {}, 1, "help"},
        {r + QStringList{"--frobnicate", "--version"}, {}, 1, "version"},
        {{"--foreground", "", "-o", "out", "b.jpg"}, {}, 1, "error: no foreground: give --foreground PICTURE"},
        {{"--foreground", "f.png", "b.jpg"}, {}, 1, "error: no output folder: give -o OUTDIR"},
        {{"--foreground", "f.png", "-o", "out"}, {}, 1, "error: no background: name one or more, or give --list FILE"}};
    for (const auto& row : rows)
        EXPECT_EQ(Settled(row.arguments, row.stored, row.cores), row.expected);

    for (const auto& [option, value] : {std::pair{"--key", "12345G"}, {"--rate", "101"}, {"--rate", "50.5"},
                                        {"--at", "1,2,3"}, {"--at", "2147483648,0"}, {"--format", "jpeg"},
                                        {"--jpeg-rate", "0"}, {"--png-rate", "3"}, {"--jobs", "257"},
                                        {"--opacity", "-1"}, {"--png-compression", "3"}, {"--fuzz", "101"}}) {
        const std::string refusal = Settled(r + QStringList{option, value});
        EXPECT_TRUE(refusal.starts_with("error: invalid value '" + std::string(value) + "' for " + option + ": "))
            << refusal;
    }
}
} // namespace
