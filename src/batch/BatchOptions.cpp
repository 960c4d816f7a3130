#include "batch/BatchOptions.h"

#include "core/view/PngRateTable.h"

#include <QCommandLineParser>
#include <QDir>
#include <cctype>
#include <limits>

namespace {

struct OptionName {
    const char* name;
    const char* valueName;   // nullptr: a switch
};

constexpr OptionName kOptions[] = {
    {"foreground", "PICTURE"}, {"key", "RRGGBB"},   {"fuzz", "PERCENT"},   {"alpha", nullptr},
    {"opacity", "0..100"},     {"rate", "0..100"},
    {"at", "X,Y"},             {"gravity", "nw|n|ne|w|c|e|sw|s|se"}, {"margin", "X,Y"},
    {"scale", "PERCENT|WxH"},  {"format", "bmp|jpg|png"}, {"jpeg-rate", "1..100"},
    {"progressive", nullptr},  {"keep-jpeg-blocks", nullptr}, {"png-compression", "fast|normal|best"},
    {"png-rate", "0|1|2"},     {"overwrite", nullptr},    {"strip", nullptr}, {"jobs", "N"},
    {"list", "FILE"},          {"o", "OUTDIR"},
    {"help", nullptr},         {"version", nullptr}};

// The PNG compression as the save options name it, and as their read-out shows it: the
// read-out's 0 is the fastest, which the settings file stores as 1.
struct PngCompression {
    const char* name;
    const char* readOut;
};
constexpr PngCompression kPngCompressions[] = {{"fast", "0"}, {"normal", "1"}, {"best", "2"}};

// An optional minus sign and at most 18 decimal digits, nothing else (no blanks, no '+').
std::optional<std::int64_t> WholeNumber(QStringView text)
{
    const bool negative = text.startsWith(u'-');
    const QStringView digits = negative ? text.mid(1) : text;
    if (digits.isEmpty() || digits.size() > 18)
        return std::nullopt;
    std::int64_t value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return negative ? -value : value;
}

// "RRGGBB", optionally after a '#', as a ColorRef 0x00BBGGRR.
std::optional<ColorRef> KeyColour(QStringView text)
{
    if (text.startsWith(u'#'))
        text = text.mid(1);
    if (text.size() != 6)
        return std::nullopt;
    for (QChar c : text) {
        if (c.unicode() > 127 || !std::isxdigit(c.unicode()))
            return std::nullopt;
    }
    const uint rgb = text.toUInt(nullptr, 16);
    return RGB(int(rgb >> 16) & 0xFF, int(rgb >> 8) & 0xFF, int(rgb) & 0xFF);
}

// "RRGGBB" of a ColorRef.
QString KeyText(ColorRef key)
{
    return QStringLiteral("%1%2%3")
        .arg(RedOf(key), 2, 16, QLatin1Char('0'))
        .arg(GreenOf(key), 2, 16, QLatin1Char('0'))
        .arg(BlueOf(key), 2, 16, QLatin1Char('0'))
        .toUpper();
}

std::optional<SaveFormat> FormatNamed(QStringView text)
{
    for (const SaveFormat format : {SaveFormat::Bmp, SaveFormat::Jpeg, SaveFormat::Png})
        if (text.compare(ExtensionOf(FormatOf(format)).sliced(1), Qt::CaseInsensitive) == 0)
            return format;
    return std::nullopt;
}

Failure Usage(const QString& error)
{
    return {error.toStdString(), {}};
}

QString Invalid(const QString& value, const char* option, const char* expected)
{
    return QStringLiteral("invalid value '%1' for --%2: %3")
        .arg(value, QLatin1String(option), QLatin1String(expected));
}

// The whole numbers an option takes, and how its error message says so.
struct Range {
    std::int64_t low, high;
    const char* text;
};
constexpr Range kRates{0, 100, "a whole number from 0 to 100"};
constexpr Range kJpegRates{1, 100, "a whole number from 1 to 100"};
constexpr Range kPngRates{0, 2, "0, 1 or 2"};
constexpr Range kJobs{1, 256, "a whole number from 1 to 256"};

bool Within(std::int64_t value, const Range& range)
{
    return value >= range.low && value <= range.high;
}

// Reads the option's number into `out` when it is given; the error when it is malformed.
template <typename Int>
QString ReadNumber(const QCommandLineParser& parser, const char* option, const Range& range,
                   std::optional<Int>& out)
{
    if (!parser.isSet(QLatin1String(option)))
        return QString();
    const QString text = parser.value(QLatin1String(option));
    const auto value = WholeNumber(text);
    if (!value || !Within(*value, range))
        return Invalid(text, option, range.text);
    out = Int(*value);
    return QString();
}

// Reads `option`'s value into `out` through `read` when it is given; the error when it is
// malformed.
template <typename Value, typename Reader>
QString ReadWith(const QCommandLineParser& parser, const char* option, Reader read,
                 const char* expected, std::optional<Value>& out)
{
    if (!parser.isSet(QLatin1String(option)))
        return QString();
    const QString text = parser.value(QLatin1String(option));
    out = read(text);
    return out ? QString() : Invalid(text, option, expected);
}

// --gravity, --margin and --scale. A margin is measured from the edges a gravity holds the
// foreground to, so it needs one; --at places the corner itself and takes neither.
QString ReadPlacement(const QCommandLineParser& parser, BatchOptions& options)
{
    if (parser.isSet("at") && (parser.isSet("gravity") || parser.isSet("margin")))
        return QStringLiteral("--at places the corner itself: give it or --gravity and --margin");
    if (parser.isSet("margin") && !parser.isSet("gravity"))
        return QStringLiteral("--margin is measured from the edges --gravity names: give --gravity too");
    for (const QString& error :
         {ReadWith(parser, "gravity", GravityNamed, "nw, n, ne, w, c, e, sw, s or se", options.gravity),
          ReadWith(parser, "margin", MarginOf, "X,Y, each pixels (0 or more) or a percent up to 100%",
                   options.margin),
          ReadWith(parser, "scale", ScaleOf, "a percent of the width (above 0, up to 100) or WxH",
                   options.scale)})
        if (!error.isEmpty())
            return error;
    return QString();
}

// Reads the options that carry values into `options`; the first bad one gives its error.
QString ReadValues(const QCommandLineParser& parser, BatchOptions& options)
{
    if (parser.isSet("key")) {
        const QString text = parser.value("key");
        options.key = KeyColour(text);
        if (!options.key)
            return Invalid(text, "key", "six hexadecimal digits RRGGBB");
    }
    if (parser.isSet("at")) {
        constexpr Range kPlaces{std::numeric_limits<std::int32_t>::min(),
                                std::numeric_limits<std::int32_t>::max(), ""};
        const QString text = parser.value("at");
        const QStringList parts = text.split(u',');
        const auto x = parts.size() == 2 ? WholeNumber(parts[0]) : std::nullopt;
        const auto y = parts.size() == 2 ? WholeNumber(parts[1]) : std::nullopt;
        if (!x || !y || !Within(*x, kPlaces) || !Within(*y, kPlaces))
            return Invalid(text, "at", "two whole numbers X,Y");
        options.x = std::int32_t(*x);
        options.y = std::int32_t(*y);
    }
    if (QString error = ReadPlacement(parser, options); !error.isEmpty())
        return error;
    if (parser.isSet("format")) {
        const QString text = parser.value("format");
        options.format = FormatNamed(text);
        if (!options.format)
            return Invalid(text, "format", "bmp, jpg or png");
    }
    if (parser.isSet("opacity") && parser.isSet("rate"))
        return QStringLiteral("--opacity and --rate name one value: give one of them");
    if (parser.isSet("png-compression") && parser.isSet("png-rate"))
        return QStringLiteral("--png-compression and --png-rate name one value: give one of them");
    if (parser.isSet("png-compression")) {
        const QString text = parser.value("png-compression");
        for (std::size_t position = 0; position < std::size(kPngCompressions); ++position)
            if (text == QLatin1String(kPngCompressions[position].name) ||
                text == QLatin1String(kPngCompressions[position].readOut))
                options.pngRate = PngRateAtPosition[position];
        if (!options.pngRate)
            return Invalid(text, "png-compression", "fast, normal or best (or 0, 1 or 2)");
    }
    for (const QString& error :
         {ReadNumber(parser, "opacity", kRates, options.rate),
          ReadNumber(parser, "rate", kRates, options.rate),
          ReadNumber(parser, "fuzz", kRates, options.fuzz),
          ReadNumber(parser, "jpeg-rate", kJpegRates, options.jpegRate),
          ReadNumber(parser, "png-rate", kPngRates, options.pngRate),
          ReadNumber(parser, "jobs", kJobs, options.jobs)}) {
        if (!error.isEmpty())
            return error;
    }
    return QString();
}

bool WritesFormat(const BatchOptions& options, SaveFormat format)
{
    return !options.format || *options.format == format;
}

// Why a rate taken from the settings file cannot be used, or empty text when it can.
QString CheckStoredRate(const SettingsRecord& stored, const char* entry, std::int16_t value,
                        const char* option, const Range& range)
{
    if (Within(value, range))
        return QString();
    return QStringLiteral("%1=%2 in the settings file %3 is not %4; give --%5")
        .arg(QLatin1String(entry))
        .arg(value)
        .arg(QDir::toNativeSeparators(stored.IniPath), QLatin1String(range.text),
             QLatin1String(option));
}

} // namespace

Result<BatchCommandLine> ParseBatchCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    for (const OptionName& option : kOptions) {
        if (option.valueName)
            parser.addOption({QLatin1String(option.name), QString(), QLatin1String(option.valueName)});
        else
            parser.addOption({QLatin1String(option.name), QString()});
    }
    // parse() wants the program's name first.
    const bool parsed = parser.parse(QStringList{QStringLiteral("layerpix-compose")} + arguments);
    if (parser.isSet("help"))
        return BatchCommandLine{BatchAction::Help, {}};
    if (parser.isSet("version"))
        return BatchCommandLine{BatchAction::Version, {}};
    if (!parsed)
        return Usage(parser.errorText());
    // A value given twice is a typing slip either way; which one was meant cannot be known.
    const QStringList given = parser.optionNames();
    for (const QString& name : given)
        if (name != u"list" && given.count(name) > 1)
            return Usage(QStringLiteral("%1%2 given twice: give it once")
                             .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name));

    BatchOptions options;
    if (const QString error = ReadValues(parser, options); !error.isEmpty())
        return Usage(error);
    options.foreground = parser.value("foreground");
    options.outputFolder = parser.value("o");
    options.alpha = parser.isSet("alpha");
    options.progressive = parser.isSet("progressive");
    options.keepJpegBlocks = parser.isSet("keep-jpeg-blocks");
    options.overwrite = parser.isSet("overwrite");
    options.strip = parser.isSet("strip");
    options.lists = parser.values("list");
    options.backgrounds = parser.positionalArguments();
    if (options.foreground.isEmpty())
        return Usage(QStringLiteral("no foreground: give --foreground PICTURE"));
    if (options.outputFolder.isEmpty())
        return Usage(QStringLiteral("no output folder: give -o OUTDIR"));
    if (options.backgrounds.isEmpty() && options.lists.isEmpty())
        return Usage(QStringLiteral("no background: name one or more, or give --list FILE"));
    return BatchCommandLine{BatchAction::Compose, options};
}

QString BatchUsage()
{
    const SettingsRecord defaults;
    return QStringLiteral(
               "Usage: layerpix-compose --foreground PICTURE [options] -o OUTDIR BACKGROUND...\n"
               "\n"
               "Pastes the foreground onto each background as Layerpix's window does and writes\n"
               "one composite per background, OUTDIR/<background's name>.<bmp|jpg|png>.\n"
               "Values not given come from Layerpix.ini beside the program, as the window\n"
               "reads it, else from the defaults shown.\n"
               "\n"
               "  --foreground PICTURE  the picture pasted onto every background\n"
               "  --key RRGGBB          the foreground colour that lets the background through:\n"
               "                        the window's \"透明の色\" ([Param] TransColor; %1)\n"
               "  --fuzz PERCENT        0..100: colours this near the key (the largest channel\n"
               "                        difference, in percent of 255) turn partly transparent,\n"
               "                        the key's share taken out of them: the window's\n"
               "                        \"キー色の許容範囲\" ([Options] KeyTolerance; 0, the key alone)\n"
               "  --alpha               the foreground's own transparency (PNG, GIF, ICO) covers\n"
               "                        the background as it is, instead of a backdrop: the\n"
               "                        window's \"前景の透明度を使う\" ([Options] Alpha; off)\n"
               "  --opacity 0..100      how opaque the foreground is, 100 hides what lies under\n"
               "                        it: 100 minus the window's \"透明度\" ([Param] TransRate;\n"
               "                        %2)\n"
               "  --rate 0..100         the same, by the settings file's name\n"
               "  --at X,Y              where the foreground's top-left corner lies (0,0): the\n"
               "                        frame dragged in the composite view\n"
               "  --gravity nw|n|ne|w|c|e|sw|s|se\n"
               "                        hold the foreground to a corner, a side or the centre\n"
               "                        of each background instead, whatever its size\n"
               "  --margin X,Y          with --gravity: the distance from those edges, in pixels\n"
               "                        or percent of the background's side (10,5% ...; 0,0)\n"
               "  --scale PERCENT|WxH   resize the foreground to PERCENT of each background's\n"
               "                        width, or to fit a WxH box, its sides in proportion;\n"
               "                        keyed pixels turn transparent first, so the key colour\n"
               "                        never bleeds into the edges (no resizing)\n"
               "  --format bmp|jpg|png  the format written (each background's own; PNG for\n"
               "                        other kinds): the save dialog's filter\n"
               "  --jpeg-rate 1..100    JPEG compression, higher is smaller: the save options'\n"
               "                        JPEG \"圧縮率\" ([JPEG] Rate; %3)\n"
               "  --progressive         progressive JPEG: \"プログレッシブタイプ\" ([JPEG] Prgrs;\n"
               "                        %4)\n"
               "  --keep-jpeg-blocks    a JPEG composite over a JPEG background keeps the\n"
               "                        background's blocks and encodes only those under the\n"
               "                        foreground, with the background's tables: the JPEG\n"
               "                        rate and --progressive do not apply ([Options]\n"
               "                        KeepJpegBlocks; off)\n"
               "  --png-compression fast|normal|best\n"
               "                        PNG compression, zlib level 1, 6 or 9: the save options'\n"
               "                        PNG \"圧縮率\", whose read-out shows 0, 1 or 2 for these\n"
               "                        and is taken too ([PNG] Rate; %5)\n"
               "  --png-rate 0|1|2      the same as the settings file stores it: 0 normal,\n"
               "                        1 fast, 2 best\n"
               "  --overwrite           replace files that exist in OUTDIR\n"
               "  --strip               write no metadata; otherwise a JPEG or PNG file keeps\n"
               "                        its background's EXIF, colour profile and XMP\n"
               "  --jobs N              compose N backgrounds at once (the number of cores)\n"
               "  --list FILE           read backgrounds from FILE, one per line; - is standard\n"
               "                        input\n"
               "  -o OUTDIR             the folder written to, created when missing\n"
               "  --help, --version     show this text, or the version\n"
               "\n"
               "Exit status: 0 when every composite was written, 1 when any picture failed,\n"
               "2 when the command cannot start (its options, the settings file, a list or\n"
               "OUTDIR).\n")
        .arg(KeyText(defaults.TransColor))
        .arg(defaults.TransRate)
        .arg(defaults.JpegRate)
        .arg(defaults.JpegPrgrs != 0 ? QStringLiteral("on") : QStringLiteral("off"))
        .arg(QLatin1String(kPngCompressions[*PngPositionOfRate(defaults.PngRate)].name));
}

Result<BatchSettings> SettleBatchSettings(const BatchOptions& options,
                                          const SettingsRecord& stored, int cores)
{
    BatchSettings settled;
    settled.key = options.key.value_or(stored.TransColor);
    settled.keyTolerance = options.fuzz.value_or(KeyToleranceChosen(stored));
    settled.alpha = options.alpha || AlphaChosen(stored);
    settled.rate = options.rate.value_or(stored.TransRate);
    settled.x = options.x;
    settled.y = options.y;
    settled.gravity = options.gravity;
    settled.margin = options.margin.value_or(Margin{});
    settled.scale = options.scale;
    settled.format = options.format;
    settled.overwrite = options.overwrite;
    settled.strip = options.strip;
    settled.jobs = options.jobs.value_or(std::max(cores, 1));
    settled.save.jpegRate = options.jpegRate.value_or(stored.JpegRate);
    settled.save.jpegPrgrs = options.progressive ? -1 : stored.JpegPrgrs;
    settled.save.pngRate = options.pngRate.value_or(stored.PngRate);
    settled.keepJpegBlocks = options.keepJpegBlocks || KeepJpegBlocksChosen(stored);

    QString error;
    if (!options.jpegRate && WritesFormat(options, SaveFormat::Jpeg))
        error = CheckStoredRate(stored, "[JPEG] Rate", stored.JpegRate, "jpeg-rate", kJpegRates);
    if (error.isEmpty() && !options.pngRate && WritesFormat(options, SaveFormat::Png))
        error = CheckStoredRate(stored, "[PNG] Rate", stored.PngRate, "png-rate", kPngRates);
    if (!error.isEmpty())
        return Usage(error);
    return settled;
}
