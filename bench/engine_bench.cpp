// The composition engine and the pixel arrays on camera-sized pictures, each beside the
// memory traffic it cannot avoid, and the machine's memcpy speed.
#include "support/BenchPictures.h"
#include "support/RatioTable.h"

#include "core/compose/BlendPixels.h"
#include "core/compose/ComposeImages.h"
#include "core/compose/PixelArray.h"
#include "core/surfaces/Surface.h"

#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace {
class BenchView final : public CompositeTarget {
public:
    Surface board{1, 1, Qt::gray};
    Surface& Board() override { return board; }
    void PlaceMarker(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    void Refresh() override {}
};

// Where the foreground lies on the background: inside, clear of every edge.
QPoint FrontPlace(const PairSize& pair)
{
    return {pair.back.width() / 6, pair.back.height() / 5};
}

// How the foreground covers: by the plain key, by its own alpha, or with a soft key.
enum class Covering { Key, Alpha, SoftKey };

// The cut-out with its own transparency: the key's pixels see-through, one pixel in 16 of the
// rest half covering (its soft edges), the others opaque.
QImage TransparentCutOut(QSize size)
{
    QImage picture = CutOutPicture(size, 2);
    picture.reinterpretAsFormat(QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            row[x] = (row[x] & 0xFFFFFF) == kKeyColour ? 0 : (row[x] & 0xFFFFFF) | ((x + y) % 16 ? 0xFF000000u : 0x80000000u);
    }
    return picture;
}

// The pair in its surfaces, composed once so that the work surface and the board have
// their size, as after the first compose in the window.
struct ComposeJob {
    ComposeJob(const PairSize& pair, Covering covering)
        : at(FrontPlace(pair)), stores{front, back, &work},
          floorBoard(pair.back, QImage::Format_RGB32), tolerance(covering == Covering::SoftKey ? 20 : 0)
    {
        front.AutoSize = back.AutoSize = true;
        front.SetPicture(covering == Covering::Alpha ? TransparentCutOut(pair.front) : CutOutPicture(pair.front, 2));
        back.SetPicture(PhotoPicture(pair.back, 1));
        Compose();
        floorBoard.fill(Qt::black);
    }
    void Compose() { ComposeImages(kKeyColour, tolerance, 50, at.x(), at.y(), stores, view); }

    // What any composition must move: the whole background into the board, then over the
    // patch two pixels read and one written.
    void Floor()
    {
        const QImage& picture = back.Image();
        std::memcpy(floorBoard.bits(), picture.constBits(), std::size_t(picture.sizeInBytes()));
        const QImage& overlay = front.Image();
        const int w = overlay.width(), h = overlay.height();
        for (int y = 0; y < h; ++y) {
            auto* out = reinterpret_cast<QRgb*>(floorBoard.scanLine(at.y() + y)) + at.x();
            const auto* in = reinterpret_cast<const QRgb*>(overlay.constScanLine(y));
            for (int x = 0; x < w; ++x)
                out[x] |= in[x];
        }
        benchmark::DoNotOptimize(floorBoard.constBits());
    }

    Surface front{1, 1, Qt::white}, back{1, 1, Qt::white}, work{1, 1, Qt::white};
    BenchView view;
    QPoint at;
    CompositionStores stores;
    QImage floorBoard;
    std::int32_t tolerance;
};

// One job for each pair and covering, made when first asked for.
ComposeJob& Job(const PairSize& pair, Covering covering)
{
    static std::map<std::pair<int, Covering>, std::unique_ptr<ComposeJob>> jobs;
    std::unique_ptr<ComposeJob>& job = jobs[{pair.back.width(), covering}];
    if (!job)
        job = std::make_unique<ComposeJob>(pair, covering);
    return *job;
}

void RegisterCompose(const PairSize& pair, Covering covering = Covering::Key)
{
    const char* what = covering == Covering::Key ? " pair, 63 % key"
                       : covering == Covering::Alpha ? " pair, own alpha, 6 % half"
                                                     : " pair, 63 % key, soft key 20 %";
    RegisterCase({.name = std::string("ComposeImages ") + pair.label + what,
                  .run = [&pair, covering](benchmark::State& state) {
                      ComposeJob& job = Job(pair, covering);
                      for (auto _ : state)
                          job.Compose();
                  },
                  .floor = [&pair, covering](benchmark::State& state) {
                      ComposeJob& job = Job(pair, covering);
                      for (auto _ : state)
                          job.Floor();
                  },
                  .iterations = 5,
                  .target = covering == Covering::Key ? "< 2x" : "< 3x"});
}

// Arrays for BlendPixels: the 24-megapixel pair's foreground and the patch under it.
struct BlendArrays {
    explicit BlendArrays(const QImage& foreground)
        : count(foreground.width() * foreground.height()), background(1, 1, Qt::white)
    {
        background.AutoSize = true;
        background.SetPicture(PhotoPicture(foreground.size(), 1));
        Surface front(1, 1, Qt::white);
        front.AutoSize = true;
        front.SetPicture(foreground);
        ReadPixels(front, F);
        ReadPixels(background, P);
    }
    // BlendPixels works in place; the patch is read anew first, outside the timing.
    void Reset(benchmark::State& state)
    {
        state.PauseTiming();
        ReadPixels(background, P);
        state.ResumeTiming();
    }
    std::int32_t count;
    Surface background;
    PixelArray F, P;
};

void RegisterBlend(const char* what, QImage (*draw)(QSize, std::uint32_t))
{
    auto arrays = std::make_shared<std::unique_ptr<BlendArrays>>();
    const auto prepared = [arrays, draw]() -> BlendArrays& {
        if (!*arrays)
            *arrays = std::make_unique<BlendArrays>(draw(kPair24.front, 2));
        return **arrays;
    };
    RegisterCase({.name = std::string("BlendPixels 3000 x 2000, ") + what,
                  .run = [prepared](benchmark::State& state) {
                      BlendArrays& a = prepared();
                      for (auto _ : state) {
                          a.Reset(state);
                          BlendPixels(a.F, a.P, a.count, 255, 0, 255, 50);
                      }
                  },
                  // Two arrays read, one written.
                  .floor = [prepared](benchmark::State& state) {
                      BlendArrays& a = prepared();
                      for (auto _ : state) {
                          a.Reset(state);
                          auto* p = reinterpret_cast<std::uint32_t*>(a.P.data());
                          const auto* f = reinterpret_cast<const std::uint32_t*>(a.F.data());
                          for (std::int32_t i = 0; i < a.count; ++i)
                              p[i] |= f[i];
                          benchmark::DoNotOptimize(p);
                      }
                  },
                  .iterations = 10,
                  .items = double(kPair24.front.width()) * kPair24.front.height()});
}

// ReadPixels and WritePixels on the 24-megapixel background, against a plain copy of as
// many bytes.
struct ArrayJob {
    ArrayJob() : surface(1, 1, Qt::white), copy(std::size_t(kPair24.back.width()) * kPair24.back.height())
    {
        surface.AutoSize = true;
        surface.SetPicture(PhotoPicture(kPair24.back, 1));
        ReadPixels(surface, pixels);
    }
    void Floor()
    {
        std::memcpy(copy.data(), surface.Image().constBits(), copy.size() * 4);
        benchmark::DoNotOptimize(copy.data());
    }
    Surface surface;
    PixelArray pixels;
    std::vector<std::uint32_t> copy;
};

ArrayJob& Arrays()
{
    static ArrayJob job;
    return job;
}

void RegisterArrays()
{
    const auto floor = [](benchmark::State& state) {
        for (auto _ : state)
            Arrays().Floor();
    };
    RegisterCase({.name = "ReadPixels 24 MP into a new array",
                  .run = [](benchmark::State& state) {
                      for (auto _ : state) {
                          PixelArray fresh;
                          benchmark::DoNotOptimize(ReadPixels(Arrays().surface, fresh));
                      }
                  },
                  .floor = floor,
                  .iterations = 5});
    RegisterCase({.name = "ReadPixels 24 MP into an array of its size",
                  .run = [](benchmark::State& state) {
                      for (auto _ : state)
                          benchmark::DoNotOptimize(ReadPixels(Arrays().surface, Arrays().pixels));
                  },
                  .floor = floor,
                  .iterations = 5});
    RegisterCase({.name = "WritePixels 24 MP",
                  .run = [](benchmark::State& state) {
                      for (auto _ : state)
                          benchmark::DoNotOptimize(WritePixels(Arrays().surface, Arrays().pixels));
                  },
                  .floor = floor,
                  .iterations = 5});
}

void RegisterMemcpy()
{
    const std::size_t bytes = std::size_t(kPair24.back.width()) * kPair24.back.height() * 4;
    RegisterCase({.name = "memcpy of a 24 MP bitmap (96 MB)",
                  .run = [bytes](benchmark::State& state) {
                      std::vector<char> from(bytes, 1), to(bytes, 0);
                      for (auto _ : state) {
                          std::memcpy(to.data(), from.data(), bytes);
                          benchmark::DoNotOptimize(to.data());
                      }
                  },
                  .iterations = 10,
                  .bytes = double(bytes)});
}
} // namespace

int main(int argc, char* argv[])
{
    RegisterMemcpy();
    RegisterBlend("cut-out, 63 % key", CutOutPicture);
    RegisterBlend("63 % key at random", ScatteredKeyPicture);
    RegisterBlend("no key pixel", PhotoPicture);
    RegisterCompose(kPair24);
    RegisterCompose(kPair54);
    RegisterCompose(kPair24, Covering::Alpha);
    RegisterCompose(kPair24, Covering::SoftKey);
    RegisterArrays();
    return RunCases(argc, argv, "Engine and pixel arrays");
}
