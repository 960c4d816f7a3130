// Colour picking on a camera-sized foreground: the whole click (read the bitmap, repaint
// the clicked colour, write it back) and the repaint alone, which must stay one pass.
#include "platform/Surface.h"
#include "transparency/Recolour.h"
#include "transparency/ReplaceColour.h"

#include <benchmark/benchmark.h>

#include <QImage>

namespace {
constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A logo-like picture: a white backdrop with coloured stripes, so about half the pixels
// match the clicked white.
QImage Foreground()
{
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < kWidth; ++x)
            row[x] = (x / 16 + y / 16) % 2 ? qRgb(255, 255, 255) : qRgb(x % 256, y % 256, 90);
    }
    return picture;
}

void ReplaceColourPass(benchmark::State& state)
{
    PixelArray pixels(std::size_t(kWidth) * kHeight, PixelElement{255, 255, 255, 0});
    bool toKey = true;
    for (auto _ : state) {
        // Alternates, so every pass repaints the same number of pixels.
        if (toKey)
            ReplaceColour(pixels, kWidth * kHeight, 255, 255, 255, 255, 0, 255);
        else
            ReplaceColour(pixels, kWidth * kHeight, 255, 0, 255, 255, 255, 255);
        toKey = !toKey;
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(ReplaceColourPass)->Unit(benchmark::kMillisecond);

void RecolourClick(benchmark::State& state)
{
    Surface picture(kWidth, kHeight, Qt::white);
    picture.AutoSize = true;
    picture.SetPicture(Foreground());
    for (auto _ : state) {
        state.PauseTiming();
        picture.Cls();
        state.ResumeTiming();
        benchmark::DoNotOptimize(RecolourLikePixel(picture, 16, 0, 0x00FF00FF));
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(RecolourClick)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
