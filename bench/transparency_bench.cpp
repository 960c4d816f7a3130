// Colour picking on a camera-sized foreground: the repaint of one colour, the whole click
// (read the bitmap, note and repaint the clicked colour, write it back) and its undo.
#include "support/RatioTable.h"

#include "core/surfaces/Surface.h"
#include "core/transparency/Recolour.h"
#include "core/transparency/RecolourHistory.h"
#include "core/transparency/ReplaceColour.h"

#include <QImage>
#include <cstring>
#include <vector>

namespace {
constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr std::size_t kPixels = std::size_t(kWidth) * kHeight;

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

// One pass that reads every pixel and writes it back.
void TouchEveryPixel(std::uint32_t* pixels, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        pixels[i] ^= 0x00010101u;
    benchmark::DoNotOptimize(pixels);
}

void ReplaceColourPass(benchmark::State& state)
{
    PixelArray pixels(kPixels, PixelElement{255, 255, 255, 0});
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
}

void ReadWritePass(benchmark::State& state)
{
    std::vector<std::uint32_t> pixels(kPixels, 0xFFFFFFFFu);
    for (auto _ : state)
        TouchEveryPixel(pixels.data(), pixels.size());
}

// A click on the foreground as it was loaded, or with `undo` its undo after an untimed click.
void RecolourClick(benchmark::State& state, bool undo)
{
    Surface picture(kWidth, kHeight, Qt::white);
    picture.AutoSize = true;
    picture.SetPicture(Foreground());
    RecolourHistory history;
    for (auto _ : state) {
        state.PauseTiming();
        picture.Cls();
        history.Clear();
        if (undo)
            RecolourLikePixel(picture, 16, 0, 0x00FF00FF, history);
        state.ResumeTiming();
        benchmark::DoNotOptimize(undo ? UndoRecolouring(picture, history)
                                      : RecolourLikePixel(picture, 16, 0, 0x00FF00FF, history));
    }
}

// The bitmap copied out into an array and back, with a pass over the array between.
void CopyOutAndBack(benchmark::State& state)
{
    QImage bitmap = Foreground();
    std::vector<std::uint32_t> pixels(kPixels);
    for (auto _ : state) {
        std::memcpy(pixels.data(), bitmap.constBits(), kPixels * 4);
        TouchEveryPixel(pixels.data(), pixels.size());
        std::memcpy(bitmap.bits(), pixels.data(), kPixels * 4);
    }
}
} // namespace

int main(int argc, char* argv[])
{
    RegisterCase({.name = "ReplaceColour 12 MP, half the pixels repainted",
                  .run = ReplaceColourPass,
                  .floor = ReadWritePass,
                  .iterations = 10,
                  .items = double(kPixels)});
    RegisterCase({.name = "Colour-picking click on a 12 MP foreground",
                  .run = [](benchmark::State& state) { RecolourClick(state, false); },
                  .floor = CopyOutAndBack,
                  .iterations = 5});
    RegisterCase({.name = "Undo of that click",
                  .run = [](benchmark::State& state) { RecolourClick(state, true); },
                  .floor = CopyOutAndBack,
                  .iterations = 5});
    return RunCases(argc, argv, "Colour picking");
}
