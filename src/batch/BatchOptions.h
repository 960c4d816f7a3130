#pragma once
// The command line of layerpix-compose and how its open values are settled.
#include "batch/BatchPlacement.h"
#include "core/settings/Settings.h"
#include "base/ColorRef.h"
#include "core/view/ExportComposite.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// The command line as typed. What is not given stays empty and is settled from the settings
// by SettleBatchSettings.
struct BatchOptions {
    QString foreground;                    // --foreground PICTURE
    std::optional<ColorRef> key;           // --key RRGGBB
    std::optional<std::int32_t> rate;      // --rate 0..100, the foreground's weight
    bool alpha = false;                    // --alpha: the foreground keeps its transparency
    std::optional<std::int32_t> fuzz;      // --fuzz 0..100, the key's tolerance in percent
    std::int32_t x = 0, y = 0;             // --at X,Y, background pixels
    std::optional<Gravity> gravity;        // --gravity nw|n|ne|w|c|e|sw|s|se
    std::optional<Margin> margin;          // --margin X,Y, pixels or percent
    std::optional<ForegroundScale> scale;  // --scale PERCENT|WxH
    std::optional<SaveFormat> format;      // --format bmp|jpg|png
    std::optional<std::int16_t> jpegRate;  // --jpeg-rate 1..100
    bool progressive = false;              // --progressive
    bool keepJpegBlocks = false;           // --keep-jpeg-blocks
    std::optional<std::int16_t> pngRate;   // --png-rate 0|1|2
    bool overwrite = false;                // --overwrite
    bool strip = false;                    // --strip
    std::optional<int> jobs;               // --jobs N
    QString outputFolder;                  // -o OUTDIR
    QStringList backgrounds;               // the positional arguments, in order
    QStringList lists;                     // --list FILE, in order; "-" is standard input
};

enum class BatchAction { Compose, Help, Version };

struct BatchCommandLine {
    BatchAction action = BatchAction::Compose;
    BatchOptions options;   // meaningful for Compose
};

// Parses the arguments that follow the program's name. Options take their value as the next
// argument or after '='; "--" ends the options. --help, then --version, win over everything
// else. A usage error fails, saying in one line what is wrong: an unknown option, a missing
// or malformed value, a missing --foreground or -o, or neither a background nor a --list.
Result<BatchCommandLine> ParseBatchCommandLine(const QStringList& arguments);

// The text --help prints.
QString BatchUsage();

// Everything a batch run needs, with nothing left open.
struct BatchSettings {
    ColorRef key = 0;
    std::int32_t keyTolerance = 0;
    bool alpha = false;
    std::int32_t rate = 0;
    std::int32_t x = 0, y = 0;
    // With a gravity the corner is placed on each background by it and the margin, not at
    // x, y; with a scale the foreground is resized for each background first.
    std::optional<Gravity> gravity;
    Margin margin;
    std::optional<ForegroundScale> scale;
    std::optional<SaveFormat> format;   // none: each background keeps its own (BatchPlan.h)
    SaveOptions save{};
    // A JPEG composite over a JPEG background is that file with the blocks under the
    // foreground encoded again (core/view/StampedJpeg.h), where it can be.
    bool keepJpegBlocks = false;
    bool overwrite = false;
    bool strip = false;   // the composites carry no metadata of their backgrounds
    int jobs = 1;
};

// Fills what the command line left open from `stored` (the settings file's values, or the
// program's defaults when there is no file) and --jobs from `cores`. A JPEG or PNG rate taken
// from the settings must lie in the range its option accepts, but only when that format can
// be written (no --format, or that one); otherwise it fails, naming the file, the key and the
// option that overrides it.
Result<BatchSettings> SettleBatchSettings(const BatchOptions& options,
                                          const SettingsRecord& stored, int cores);
