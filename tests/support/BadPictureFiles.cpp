#include "support/BadPictureFiles.h"

#include "support/HandMadePictures.h"
#include "support/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <functional>
#include <random>
#include <zlib.h>

namespace {
// Eight colours, so that every format can hold it.
QImage FewColours(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb((x & 1) * 255, (y & 1) * 255, ((x / 2 + y) & 1) * 200));
    return picture;
}

struct Format {
    QString name, extension;
    QByteArray good;
    qsizetype header;                                                // bytes up to the pixel data
    std::function<QByteArray(QByteArray, quint32, quint32)> stating; // empty beyond what it can state
};

std::vector<Format> Formats()
{
    const QImage picture = FewColours(40, 30);
    const QByteArray jpeg = EncodedPicture(GradientPicture(40, 30), "JPG");
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    const QByteArray gif = GifFile(picture);
    const qsizetype descriptor = gif.indexOf(',', 13 + 768);
    const QByteArray png = EncodedPicture(NoisePicture(40, 30, 5), "PNG");
    return {
        {"BMP", "bmp", EncodedPicture(picture, "BMP"), 54,
         [](QByteArray bmp, quint32 w, quint32 h) {
             qToLittleEndian(w, bmp.data() + 18);
             qToLittleEndian(h, bmp.data() + 22);
             return bmp;
         }},
        {"GIF", "gif", gif, descriptor + 11,
         [descriptor](QByteArray gif, quint32 w, quint32 h) {
             for (qsizetype at : {qsizetype(6), descriptor + 5}) {
                 qToLittleEndian(quint16(w), gif.data() + at);
                 qToLittleEndian(quint16(h), gif.data() + at + 2);
             }
             return w > 65535 || h > 65535 ? QByteArray() : gif;
         }},
        {"ICO", "ico", IconFile(picture, 24, QImage(40, 30, QImage::Format_RGB32)), 22 + 40,
         [](QByteArray ico, quint32 w, quint32 h) {
             qToLittleEndian(w, ico.data() + 22 + 4);
             qToLittleEndian(h * 2, ico.data() + 22 + 8);
             return ico;
         }},
        {"JPEG", "jpg", jpeg, jpeg.indexOf("\xFF\xDA"),
         [frame](QByteArray jpeg, quint32 w, quint32 h) {
             qToBigEndian(quint16(h), jpeg.data() + frame + 5);
             qToBigEndian(quint16(w), jpeg.data() + frame + 7);
             return w > 65535 || h > 65535 ? QByteArray() : jpeg;
         }},
        {"PNG", "png", png, 33,
         [](QByteArray png, quint32 w, quint32 h) {
             qToBigEndian(w, png.data() + 16);
             qToBigEndian(h, png.data() + 20);
             qToBigEndian(quint32(crc32(0, reinterpret_cast<const Bytef*>(png.constData() + 12), 17)), png.data() + 29);
             return png;
         }},
    };
}
} // namespace

std::vector<BadPictureFile> GoodPictureFiles()
{
    std::vector<BadPictureFile> files;
    for (const Format& format : Formats())
        files.push_back({QStringLiteral("良い 絵　%1.%2").arg(format.name, format.extension), format.good});
    return files;
}

std::vector<BadPictureFile> BadPictureFiles()
{
    std::vector<BadPictureFile> files;
    const auto add = [&files](const QString& what, const QByteArray& bytes) {
        files.push_back({QStringLiteral("壊れた 絵　") + what, bytes});
    };
    std::mt19937 random(1);
    const std::vector<Format> formats = Formats();
    for (const Format& format : formats) {
        const auto name = [&format](const QString& what) {
            return QStringLiteral("%1 %2.%3").arg(format.name, what, format.extension);
        };
        add(name("empty"), QByteArray());
        add(name("cut after header"), format.good.left(format.header));
        add(name("cut in pixels"), format.good.left((format.header + format.good.size()) / 2));
        add(name("cut before end"), format.good.chopped(1));
        for (auto [w, h] : {std::pair<quint32, quint32>{65535, 65535}, {100000, 100000}, {1000000, 268},
                            {20000, 20000}, {0x7FFFFFFF, 0x7FFFFFFF}, {0xFFFFFFFF, 1}})
            if (const QByteArray stating = format.stating(format.good, w, h); !stating.isEmpty())
                add(name(QStringLiteral("stating %1 x %2").arg(w).arg(h)), stating);
        for (int length = 1; format.name == "PNG" && length < 24; ++length)
            add(name(QStringLiteral("cut at %1").arg(length)), format.good.left(length));
        QByteArray garbage(4000, '\0');
        for (char& byte : garbage)
            byte = char(random());
        add(name("garbage"), format.good.left(format.extension == "ico" ? 6 : 8) + garbage);
    }
    QByteArray ico = formats[2].good;
    qToLittleEndian(quint16(65535), ico.data() + 4);
    add("65535 images short.ico", ico);
    add("65535 images.ico", ico + QByteArray(16 * 65535, '\0'));
    add("xbm.bmp", "#define f_width 16384\n#define f_height 16384\nstatic char f_bits[] = {\n    0x00 };\n");
    add("ppm.jpg", EncodedPicture(FewColours(40, 30), "PPM"));
    add("xpm.ico", EncodedPicture(FewColours(4, 3), "XPM"));
    add("bmp.png", formats[0].good);
    return files;
}

QStringList BadPicturePaths(const QTemporaryDir& folder)
{
    QDir(folder.path()).mkdir(QStringLiteral("フォルダ です.bmp"));
    QFile::link(folder.filePath(QStringLiteral("輪 b.jpg")), folder.filePath(QStringLiteral("輪 a.jpg")));
    QFile::link(folder.filePath(QStringLiteral("輪 a.jpg")), folder.filePath(QStringLiteral("輪 b.jpg")));
    return {folder.filePath(QStringLiteral("フォルダ です.bmp")), folder.filePath(QStringLiteral("ない 絵.png")),
            folder.filePath(QStringLiteral("ない 絵.bmp")), folder.filePath(QStringLiteral("輪 a.jpg"))};
}
