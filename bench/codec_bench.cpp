// Codec speed on a camera-sized picture: PNG decoding, and PNG and JPEG encoding at the
// save options' rates.
#include "codec/Codec.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr std::int32_t kWidth = 4000;
constexpr std::int32_t kHeight = 3000;

// A smooth scene with mild noise, closer to a photograph than pure noise or flat colour.
struct Picture {
    Picture() : pixels(std::size_t{kWidth} * kHeight * 4)
    {
        std::mt19937 random(1);
        for (std::int32_t y = 0; y < kHeight; ++y)
            for (std::int32_t x = 0; x < kWidth; ++x) {
                std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * kWidth + x) * 4];
                const int noise = static_cast<int>(random() % 9) - 4;
                p[0] = static_cast<std::uint8_t>((x * 255 / kWidth + noise) & 0xFF);
                p[1] = static_cast<std::uint8_t>((y * 255 / kHeight + noise) & 0xFF);
                p[2] = static_cast<std::uint8_t>(((x + y) * 127 / kHeight + noise) & 0xFF);
                p[3] = 0xFF;
            }
        surface = {pixels.data(), kWidth, kHeight, kWidth * 4, 0};
    }
    std::vector<std::uint8_t> pixels;
    CodecSurface surface;
};

Picture& SharedPicture()
{
    static Picture picture;
    return picture;
}

void BM_EncodePng(benchmark::State& state)
{
    const auto rate = static_cast<std::uint8_t>(state.range(0));
    std::vector<std::uint8_t> png;
    for (auto _ : state)
        if (EncodePngBytes(&SharedPicture().surface, kWidth, kHeight, rate, png) != 0)
            state.SkipWithError(CodecLastError());
    state.counters["bytes"] = static_cast<double>(png.size());
}
BENCHMARK(BM_EncodePng)->ArgName("rate")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_EncodeJpeg(benchmark::State& state)
{
    const auto progressive = static_cast<std::int32_t>(state.range(0));
    std::vector<std::uint8_t> jpeg;
    for (auto _ : state)
        if (EncodeJpegBytes(&SharedPicture().surface, kWidth, kHeight, 50, progressive, jpeg) != 0)
            state.SkipWithError(CodecLastError());
    state.counters["bytes"] = static_cast<double>(jpeg.size());
}
BENCHMARK(BM_EncodeJpeg)->ArgName("progressive")->Arg(0)->Arg(-1)->Unit(benchmark::kMillisecond);

void BM_DecodePng(benchmark::State& state)
{
    std::vector<std::uint8_t> png;
    if (EncodePngBytes(&SharedPicture().surface, kWidth, kHeight, 1, png) != 0) {
        state.SkipWithError(CodecLastError());
        return;
    }
    std::vector<std::uint8_t> pixels(std::size_t{kWidth} * kHeight * 4);
    CodecSurface target{pixels.data(), kWidth, kHeight, kWidth * 4, 0x00FFFFFF};
    for (auto _ : state)
        if (DecodePngBytes(png.data(), png.size(), &target) != 0)
            state.SkipWithError(CodecLastError());
}
BENCHMARK(BM_DecodePng)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
