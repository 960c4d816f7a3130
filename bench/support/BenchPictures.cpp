#include "BenchPictures.h"

#include <QDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {
// A slow wave across one side, 0..255, for each channel its own phase.
std::vector<int> Wave(int length, double periods, double phase)
{
    std::vector<int> wave(std::size_t(std::max(length, 0)));
    for (int i = 0; i < length; ++i)
        wave[std::size_t(i)] =
            int(127.5 + 100.0 * std::sin(2 * M_PI * periods * i / length + phase));
    return wave;
}

int Clamp(int v)
{
    return std::clamp(v, 0, 255);
}

// Inside the ellipse that fills kKeyShare of the picture's area around its centre.
bool InsideObject(QSize size, int x, int y)
{
    const double radius = std::sqrt((1.0 - kKeyShare) / M_PI);
    const double dx = (x + 0.5 - size.width() / 2.0) / (radius * size.width());
    const double dy = (y + 0.5 - size.height() / 2.0) / (radius * size.height());
    return dx * dx + dy * dy <= 1.0;
}
} // namespace

QImage PhotoPicture(QSize size, std::uint32_t seed)
{
    const int w = size.width(), h = size.height();
    const std::vector<int> redX = Wave(w, 1.5, 0.3), greenX = Wave(w, 2.5, 1.1), blueX = Wave(w, 0.7, 2.0);
    const std::vector<int> redY = Wave(h, 1.2, 0.9), greenY = Wave(h, 0.8, 2.4), blueY = Wave(h, 2.2, 0.1);
    std::mt19937 random(seed);
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const std::uint32_t noise = random();
            const auto grain = [noise](int shift) { return int((noise >> shift) & 7) - 4; };
            row[x] = qRgb(Clamp((redX[std::size_t(x)] + redY[std::size_t(y)]) / 2 + grain(0)),
                          Clamp((greenX[std::size_t(x)] + greenY[std::size_t(y)]) / 2 + grain(3)),
                          Clamp((blueX[std::size_t(x)] + blueY[std::size_t(y)]) / 2 + grain(6)));
        }
    }
    return picture;
}

QImage CutOutPicture(QSize size, std::uint32_t seed)
{
    QImage picture = PhotoPicture(size, seed);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            if (!InsideObject(size, x, y))
                row[x] = kKeyPixel;
    }
    return picture;
}

QImage ScatteredKeyPicture(QSize size, std::uint32_t seed)
{
    QImage picture = PhotoPicture(size, seed);
    std::mt19937 random(seed + 1);
    std::bernoulli_distribution key(kKeyShare);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            if (key(random))
                row[x] = kKeyPixel;
    }
    return picture;
}

QString PicturePath(const QString& folder, const PairSize& pair, PictureKind kind,
                    const char* extension)
{
    return QDir(folder).filePath(QStringLiteral("%1-%2.%3")
                                     .arg(kind == PictureKind::Back ? "back" : "front")
                                     .arg(QLatin1String(pair.tag))
                                     .arg(QLatin1String(extension)));
}

QString TakePicturesFolder(int& argc, char** argv, const char* program)
{
    const char* const option = "--pictures=";
    QString folder;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], option, std::strlen(option)) == 0)
            folder = QString::fromLocal8Bit(argv[i] + std::strlen(option));
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    if (folder.isEmpty())
        std::fprintf(stderr, "usage: %s --pictures=<folder written by bench_pictures> ...\n", program);
    return folder;
}

void DrawOffScreenUnlessAsked()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}
