// ComposeImages on a photograph-sized job: a 4000 x 3000 foreground pasted onto a
// 6000 x 4000 background, about one key pixel in sixteen.
#include "compose/ComposeImages.h"
#include "platform/Surface.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <random>

namespace {
class BenchView final : public CompositeTarget {
public:
    Surface board{1, 1, Qt::gray};
    Surface& Board() override { return board; }
    void PlaceMarker(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    void Refresh() override {}
};

QImage Noise(int width, int height, std::uint32_t seed)
{
    std::mt19937 generator(seed);
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = (generator() & 15) == 0 ? 0xFFFF00FFu : 0xFF000000u | (generator() & 0xFFFFFF);
    }
    return picture;
}

void BM_ComposeImages(benchmark::State& state)
{
    Surface front(1, 1, Qt::white), back(1, 1, Qt::white), work(1, 1, Qt::white);
    front.AutoSize = back.AutoSize = true;
    front.SetPicture(Noise(4000, 3000, 1));
    back.SetPicture(Noise(6000, 4000, 2));
    BenchView view;
    const CompositionStores stores{front, back, work};
    for (auto _ : state) {
        ComposeImages(0x00FF00FF, 60, 1000, 500, stores, view);
        benchmark::DoNotOptimize(view.board.Image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * 4000 * 3000);
}
BENCHMARK(BM_ComposeImages)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
