// Opening camera photos into a source slot and saving the composite, through the
// program's own routes, each beside the bare library call on the same file:
//   bench_files --pictures=<folder written by bench_pictures> [Google Benchmark flags]
#include "support/BareCodecs.h"
#include "support/BenchPictures.h"
#include "support/RatioTable.h"

#include "core/compose/ComposeImages.h"
#include "core/surfaces/Surface.h"
#include "core/document/Document.h"
#include "windows/main/frmMain.h"
#include "core/view/ExportComposite.h"
#include "core/view/StampedJpeg.h"
#include "core/compose/BoardTarget.h"
#include "core/sources/SourcePicture.h"
#include "core/surfaces/SystemColours.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <memory>

namespace {
QString g_pictures;

// A bitmap-sized buffer, touched once so that no case pays its page faults.
struct PixelBuffer {
    explicit PixelBuffer(QSize size)
        : width(size.width()), height(size.height()), stride(size.width() * 4),
          bytes(std::size_t(stride) * std::size_t(height), 0)
    {
    }
    int width, height, stride;
    std::vector<std::uint8_t> bytes;
};

std::string Path(const PairSize& pair, const char* extension)
{
    return QFile::encodeName(PicturePath(g_pictures, pair, PictureKind::Back, extension))
        .toStdString();
}

// The composite of a pair, as the view's board holds it after a compose.
struct Composite {
    explicit Composite(const PairSize& pair) : board(1, 1, Qt::white)
    {
        Surface front(1, 1, Qt::white), back(1, 1, Qt::white);
        front.AutoSize = back.AutoSize = true;
        front.SetPicture(CutOutPicture(pair.front, 2));
        back.SetPicture(PhotoPicture(pair.back, 1));
        struct Target final : CompositeTarget {
            explicit Target(Surface& s) : board(s) {}
            Surface& board;
            Surface& Board() override { return board; }
            void PlaceMarker(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
            void Refresh() override {}
        } target(board);
        ComposeImages(kKeyColour, 0, 50, pair.back.width() / 6, pair.back.height() / 5,
                      {front, back, nullptr}, target);
    }
    Surface board;
};

// The program's windows and pictures, made on first use and let go before the
// application ends.
struct Fixtures {
    std::unique_ptr<Document> document;
    std::unique_ptr<frmMain> main;
    std::unique_ptr<Composite> composite6, composite24, composite54;
};
Fixtures g_fixtures;

frmMain& MainWindow()
{
    if (!g_fixtures.main) {
        g_fixtures.document = std::make_unique<Document>(SettingsRecord{});
        g_fixtures.main = std::make_unique<frmMain>(*g_fixtures.document);
    }
    return *g_fixtures.main;
}

// What a floor keeps from run to run: its buffers are allocated and touched by a first,
// untimed run, so the floor measures the library call alone.
struct FloorBuffers {
    bool warm = false;
    std::unique_ptr<PixelBuffer> pixels;
    std::vector<std::uint8_t> file, scratch;
};

template <typename Body>
void FloorRuns(benchmark::State& state, FloorBuffers& buffers, const Body& body)
{
    if (!buffers.warm && !body()) {
        state.SkipWithError("the bare library call failed");
        return;
    }
    buffers.warm = true;
    for (auto _ : state)
        if (!body())
            state.SkipWithError("the bare library call failed");
}

void RegisterOpen(const PairSize& pair, const char* extension, const char* bare)
{
    const auto buffers = std::make_shared<FloorBuffers>();
    const std::string format(extension);
    RegisterCase(
        {.name = std::string("Open ") + pair.label + " " + format + " into a slot",
         .run = [&pair, extension](benchmark::State& state) {
             const QString path = QFile::decodeName(Path(pair, extension).c_str());
             for (auto _ : state)
                 MainWindow().OpenSourcePicture(path, 1);
             if (g_fixtures.document->PicImg[1].Width() != pair.back.width())
                 state.SkipWithError("the picture did not open");
         },
         .floor = [&pair, extension, buffers, format](benchmark::State& state) {
             if (!buffers->pixels)
                 buffers->pixels = std::make_unique<PixelBuffer>(pair.back);
             PixelBuffer& out = *buffers->pixels;
             const std::string path = Path(pair, extension);
             FloorRuns(state, *buffers, [&] {
                 if (format == "png")
                     return BarePngDecode(path, out.bytes.data(), out.width, out.height, out.stride);
                 if (!ReadWholeFile(path, buffers->file))
                     return false;
                 return format == "jpg"
                            ? BareJpegDecode(buffers->file, out.bytes.data(), out.width, out.height, out.stride)
                            : BareBmpDecode(buffers->file, out.bytes.data(), out.width, out.height, out.stride);
             });
         },
         .floorWhat = bare});
}

Composite& CompositeOf(const PairSize& pair)
{
    std::unique_ptr<Composite>& composite = pair.back == kPair6.back    ? g_fixtures.composite6
                                            : pair.back == kPair24.back ? g_fixtures.composite24
                                                                        : g_fixtures.composite54;
    if (!composite)
        composite = std::make_unique<Composite>(pair);
    return *composite;
}

QTemporaryDir& SaveFolder()
{
    static QTemporaryDir folder;
    return folder;
}

struct SaveCase {
    const char* what;      // in the case's name
    SaveFormat format;
    SaveOptions options{50, 0, 1};
};

void RegisterSave(const PairSize& pair, SaveCase save)
{
    const char* extension = save.format == SaveFormat::Bmp    ? "bmp"
                            : save.format == SaveFormat::Jpeg ? "jpg"
                                                                 : "png";
    const QString name = SaveFolder().filePath(QStringLiteral("composite.%1").arg(extension));
    const auto buffers = std::make_shared<FloorBuffers>();
    const std::string bareName =
        QFile::encodeName(SaveFolder().filePath(QStringLiteral("bare.%1").arg(extension))).toStdString();
    RegisterCase(
        {.name = std::string("Save the ") + pair.label + " composite as " + save.what,
         .run = [&pair, save, name](benchmark::State& state) {
             Surface& board = CompositeOf(pair).board;
             for (auto _ : state)
                 if (!WriteComposite(board, name, save.format, save.options))
                     state.SkipWithError("the composite was not saved");
         },
         .floor = [&pair, save, bareName, buffers](benchmark::State& state) {
             const QImage& bitmap = CompositeOf(pair).board.Image();
             const std::uint8_t* pixels = bitmap.constBits();
             const int w = bitmap.width(), h = bitmap.height(), stride = int(bitmap.bytesPerLine());
             const int levels[] = {6, 1, 9};
             std::vector<std::uint8_t>& scratch = buffers->scratch;
             FloorRuns(state, *buffers, [&] {
                 if (save.format == SaveFormat::Bmp)
                     return BareBmpSave(pixels, w, h, stride, scratch, bareName);
                 if (save.format == SaveFormat::Jpeg)
                     return BareJpegSave(pixels, w, h, stride, 101 - save.options.jpegRate,
                                         save.options.jpegPrgrs != 0, scratch, bareName);
                 return BarePngSave(pixels, w, h, stride, levels[save.options.pngRate], bareName);
             });
         },
         .floorWhat = save.format == SaveFormat::Bmp ? "rows packed, saved"
                                                        : save.format == SaveFormat::Jpeg
                                                            ? "bare libjpeg-turbo, saved"
                                                            : "bare libpng, saved"});
}
// A 600 x 200 logo stamped on the photo and saved as JPEG, as the batch does it: with the
// photo's blocks kept outside the logo, beside the whole decode, compose and encode.
void RegisterLogoStamp(const PairSize& pair)
{
    struct Stamp {
        Surface front{0, 0, HolderBackColour}, back{0, 0, HolderBackColour};
        BoardTarget board;
    };
    const auto stamp = std::make_shared<Stamp>();
    stamp->front.AutoSize = stamp->back.AutoSize = true;
    stamp->front.SetPicture(CutOutPicture({600, 200}, 3));
    const int x = pair.back.width() * 9 / 20 + 1, y = pair.back.height() * 9 / 20 + 1;
    const QString name = SaveFolder().filePath(QStringLiteral("stamped.jpg"));
    RegisterCase(
        {.name = std::string("Stamp a 600 x 200 logo on the ") + pair.label + " JPEG, blocks kept",
         .run = [&pair, stamp, x, y, name](benchmark::State& state) {
             const QString path = QFile::decodeName(Path(pair, "jpg").c_str());
             for (auto _ : state) {
                 const Result<bool> kept = WriteStampedJpeg(
                     path, std::nullopt, [&](QSize) { return PixelRect{x, y, 600, 200}; },
                     [&](const PixelRect& region, CodecSurface& pixels) {
                         return ComposeOverRegion(kKeyColour, 0, 50, x, y, stamp->front, stamp->back, stamp->board,
                                                  region, pixels);
                     },
                     {}, name);
                 if (!kept || !*kept)
                     state.SkipWithError("the blocks were not kept");
             }
         },
         .floor = [&pair, stamp, x, y, name](benchmark::State& state) {
             const QString path = QFile::decodeName(Path(pair, "jpg").c_str());
             for (auto _ : state) {
                 LoadedPicture loaded = LoadSourcePicture(path, HolderBackColour);
                 if (!loaded || !*loaded)
                     return state.SkipWithError("the photo did not open");
                 stamp->back.SetPicture(std::move(**loaded));
                 ComposeImages(kKeyColour, 0, 50, x, y, {stamp->front, stamp->back, nullptr}, stamp->board);
                 if (!WriteComposite(stamp->board.Board(), name, SaveFormat::Jpeg, {50, 0, 1}))
                     state.SkipWithError("the composite was not saved");
             }
         },
         .floorWhat = "the whole photo decoded, composed, encoded at rate 50 and saved",
         .target = "< 0.33"});
}
} // namespace

int main(int argc, char* argv[])
{
    DrawOffScreenUnlessAsked();
    QApplication app(argc, argv);
    g_pictures = TakePicturesFolder(argc, argv, "bench_files");
    if (g_pictures.isEmpty())
        return 2;
    for (const PairSize* pair : {&kPair24, &kPair54}) {
        RegisterOpen(*pair, "jpg", "bare libjpeg-turbo decode");
        RegisterOpen(*pair, "png", "bare libpng decode");
    }
    RegisterOpen(kPair24, "bmp", "file read, rows spread to 32 bits");
    RegisterSave(kPair24, {"BMP", SaveFormat::Bmp});
    RegisterSave(kPair24, {"JPEG, rate 50", SaveFormat::Jpeg});
    RegisterSave(kPair24, {"JPEG, rate 50, progressive", SaveFormat::Jpeg, {50, -1, 1}});
    RegisterSave(kPair24, {"PNG, rate 1 (zlib 1)", SaveFormat::Png});
    // zlib's slower levels take seconds a run on a camera photo: a 6-megapixel composite
    // gives the same ratio to the bare encoder in a quarter of the time.
    RegisterSave(kPair6, {"PNG, rate 0 (zlib 6)", SaveFormat::Png, {50, 0, 0}});
    RegisterSave(kPair6, {"PNG, rate 2 (zlib 9)", SaveFormat::Png, {50, 0, 2}});
    RegisterSave(kPair54, {"JPEG, rate 50", SaveFormat::Jpeg});
    RegisterLogoStamp(kPair24);
    const int status = RunCases(argc, argv, "Opening and saving");
    g_fixtures = {};
    return status;
}
