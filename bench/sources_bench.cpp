// Opening a camera-sized photo into a source slot and scrolling its pane.
#include "ui/frmMain.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
// A 48-megapixel JPEG of smooth colour with fine detail, written once per run.
struct Photo {
    Photo()
    {
        QImage picture(8000, 6000, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                row[x] = qRgb(x * 255 / 8000, y * 255 / 6000, ((x ^ y) & 31) * 8);
        }
        path = folder.filePath(QStringLiteral("photo.jpg"));
        picture.save(path, "JPG", 90);
    }
    QTemporaryDir folder;
    QString path;
};

const Photo& ThePhoto()
{
    static const Photo photo;
    return photo;
}

void BM_LoadSourceImage48MegapixelJpeg(benchmark::State& state)
{
    const QString& path = ThePhoto().path;
    frmMain form;
    for (auto _ : state)
        benchmark::DoNotOptimize(form.LoadSourceImage(path, 0));
}
BENCHMARK(BM_LoadSourceImage48MegapixelJpeg)->Unit(benchmark::kMillisecond);

// One scroll step: the scroll bar's change redraws the pane from the held picture.
void BM_ScrollPaneOver48MegapixelPicture(benchmark::State& state)
{
    frmMain form;
    form.OpenSourcePicture(ThePhoto().path, 0);
    std::int16_t x = 0;
    for (auto _ : state) {
        x = static_cast<std::int16_t>((x + 97) % form.HSCR[0]->maximum());
        form.HSCR[0]->SetValue(x);
    }
}
BENCHMARK(BM_ScrollPaneOver48MegapixelPicture)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
