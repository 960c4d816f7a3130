// Writes the benchmark pictures into a folder:  bench_pictures <folder>
// For each pair size, the background as JPEG and PNG and the cut-out foreground as PNG
// (its key colour survives only a lossless file) and as JPEG; the 24-megapixel background
// also as a bitmap file. Files already there are kept: they depend on nothing but the
// fixed seeds. Also forged PNG files, in forged/, whose loading must cost neither the memory
// nor the time of the picture they state.
#include "support/BenchPictures.h"

#include "codec/Codec.h"
#include "core/view/BmpFile.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <optional>
#include <zlib.h>
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
// A PNG chunk of `type` holding `data`, stating `length` bytes (its own, when not given).
QByteArray Chunk(const char* type, const QByteArray& data, std::optional<quint32> length = {})
{
    QByteArray chunk(4, '\0');
    qToBigEndian(length.value_or(quint32(data.size())), chunk.data());
    chunk += type + data;
    QByteArray crc(4, '\0');
    qToBigEndian(quint32(crc32(0, reinterpret_cast<const Bytef*>(chunk.constData() + 4), uInt(chunk.size() - 4))),
                 crc.data());
    return chunk + crc;
}

QByteArray PngHead(quint32 width, quint32 height)
{
    QByteArray header(13, '\0');
    qToBigEndian(width, header.data());
    qToBigEndian(height, header.data() + 4);
    header[8] = 8;   // bits a sample
    header[9] = 2;   // RGB
    return "\x89PNG\r\n\x1a\n" + Chunk("IHDR", header);
}

bool WriteForged(const QString& folder)
{
    const QByteArray noise = [] {
        QByteArray bytes(1'100'000, '\0');
        quint32 state = 1;
        for (char& byte : bytes)
            byte = char((state = state * 1664525 + 1013904223) >> 24);
        return bytes;
    }();
    QByteArray rows(310, '\x40'); // ten rows of ten grey pixels, each row after its filter byte
    for (qsizetype row = 0; row < rows.size(); row += 31)
        rows[row] = 0;
    const QByteArray small = PngHead(10, 10) + Chunk("IDAT", qCompress(rows).mid(4)) + Chunk("IEND", {});
    const std::pair<const char*, QByteArray> files[] = {
        {"text claiming 2 GiB.png", (PngHead(10, 10) + Chunk("tEXt", "Comment", 0x7FFFFFFF)).leftJustified(353, 'x')},
        {"16384 x 16384 padded with text.png", PngHead(16384, 16384) + Chunk("tEXt", noise) + small.mid(33)},
        {"16384 x 16384 of noise.png", PngHead(16384, 16384) + Chunk("IDAT", noise) + Chunk("IEND", {})},
        {"10 x 10 with a 400 MB text.png",
         small.left(33) + Chunk("zTXt", "Comment" + QByteArray(2, '\0') + qCompress(QByteArray(400 << 20, 'z'), 9).mid(4)) +
             small.mid(33)},
        {"10 x 10 with a 400 MB profile.png",
         small.left(33) + Chunk("iCCP", "Profile" + QByteArray(2, '\0') + qCompress(QByteArray(400 << 20, 'p'), 9).mid(4)) +
             small.mid(33)},
        {"10 x 10.png", small}};
    bool written = QDir().mkpath(folder);
    for (const auto& [name, bytes] : files) {
        QFile file(folder + '/' + QLatin1String(name));
        written = written && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    return written;
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
    // The floor of a batch job's memory: a background too small to count.
    for (const char* format : {"jpg", "png"})
        written = written && Write([] { return PhotoPicture(QSize(16, 16), 1); },
                                   folder + QStringLiteral("/back-16px.") + QLatin1String(format));
    written = written && WriteForged(folder + QStringLiteral("/forged"));
    if (!written)
        std::fprintf(stderr, "bench_pictures: cannot write into %s\n", argv[1]);
    return written ? 0 : 1;
}
