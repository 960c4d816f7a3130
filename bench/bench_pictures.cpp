// Writes the benchmark pictures into a folder:  bench_pictures <folder>
// For each pair size, the background as JPEG and PNG and the cut-out foreground as PNG
// (its key colour survives only a lossless file) and as JPEG; the 24-megapixel background
// also as a bitmap file. Files already there are kept: they depend on nothing but the
// fixed seeds.
#include "support/BenchPictures.h"

#include "codec/Codec.h"
#include "core/view/BmpFile.h"

#include <QDir>
#include <QFile>
#include <cstdio>

namespace {
CodecSurface ViewOf(QImage& picture)
{
    return {picture.bits(), picture.width(), picture.height(),
            static_cast<std::int32_t>(picture.bytesPerLine()), 0};
}

// Writes the picture that `draw` makes to `path`, unless the file is there already.
template <typename Draw>
bool Write(const Draw& draw, const QString& path)
{
    if (QFile::exists(path))
        return true;
    std::printf("writing %s\n", qPrintable(path));
    std::fflush(stdout);
    QImage picture = draw();
    const QByteArray name = QFile::encodeName(path);
    CodecSurface dc = ViewOf(picture);
    if (path.endsWith(QLatin1String(".jpg")))
        // Rate 8 is quality 93, as a camera saves.
        return DCSavetoJPEG(&dc, dc.width, dc.height, name.constData(), 8, 0) == 0;
    if (path.endsWith(QLatin1String(".png")))
        return DCSavetoPNG(&dc, dc.width, dc.height, name.constData(), 1) == 0;
    return bool(SaveBmp(picture, path));
}
} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_pictures <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder))
        return 1;
    bool written = true;
    for (const PairSize& pair : {kPair24, kPair54}) {
        const auto back = [&pair] { return PhotoPicture(pair.back, 1); };
        const auto front = [&pair] { return CutOutPicture(pair.front, 2); };
        written = written && Write(back, PicturePath(folder, pair, PictureKind::Back, "jpg"))
                  && Write(back, PicturePath(folder, pair, PictureKind::Back, "png"))
                  && Write(front, PicturePath(folder, pair, PictureKind::Front, "png"))
                  && Write(front, PicturePath(folder, pair, PictureKind::Front, "jpg"));
        if (pair.back == kPair24.back)
            written = written && Write(back, PicturePath(folder, pair, PictureKind::Back, "bmp"));
    }
    if (!written)
        std::fprintf(stderr, "bench_pictures: cannot write into %s\n", argv[1]);
    return written ? 0 : 1;
}
