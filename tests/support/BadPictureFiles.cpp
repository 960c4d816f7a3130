#include "support/BadPictureFiles.h"

#include "support/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <functional>
#include <random>
#include <zlib.h>

#include <sys/stat.h>

namespace {
struct Format {
    QString name, extension;
    QByteArray good;                                                 // a picture of tests/data
    qsizetype header;                                                // bytes up to the pixel data
    std::function<QByteArray(QByteArray, quint32, quint32)> stating; // empty beyond what it can state
};

std::vector<Format> Formats()
{
    const QByteArray jpeg = TestDataFile("jpeg/hopper.jpg"), gif = TestDataFile("gif/hopper.gif");
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    const qsizetype descriptor = gif.indexOf(',', 13 + 768); // after the colour table and extensions
    return {
        {"BMP", "bmp", TestDataFile("bmpsuite/g/rgb32.bmp"), 54,
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
        {"ICO", "ico", TestDataFile("ico/hopper.ico"), 22 + 40,
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
        {"PNG", "png", TestDataFile("pngsuite/basn2c08.png"), 33,
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
        files.push_back({"壊れた 絵　" + what, bytes});
    };
    std::mt19937 random(1);
    const std::vector<Format> formats = Formats();
    for (const Format& format : formats) {
        const auto name = [&format](const QString& what) { return format.name + ' ' + what + '.' + format.extension; };
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
        std::generate(garbage.begin(), garbage.end(), [&random] { return char(random()); });
        add(name("garbage"), format.good.left(format.extension == "ico" ? 6 : 8) + garbage);
    }
    // Chunks that claim more than the file holds, that pad a file out to pass for a picture
    // of 16384 x 16384, or image data that decodes to nothing: none may cost the memory or
    // the time of the picture they state.
    const auto chunk = [](const char* type, const QByteArray& data, quint32 length) {
        QByteArray bytes(4, '\0');
        qToBigEndian(length, bytes.data());
        bytes += type + data;
        const QByteArray crc(4, '\0');
        return bytes + crc;
    };
    const QByteArray png = formats[4].good, large = formats[4].stating(png, 16384, 16384).left(33);
    QByteArray noise(1'100'000, '\0');
    std::generate(noise.begin(), noise.end(), [&random] { return char(random()); });
    add("PNG text claiming 2 GiB.png", (png.left(33) + chunk("tEXt", "Comment", 0x7FFFFFFF)).leftJustified(353, 'x'));
    add("PNG padded with text.png", large + chunk("tEXt", noise, quint32(noise.size())) + png.mid(png.indexOf("IDAT") - 4));
    add("PNG of noise.png", large + chunk("IDAT", noise, quint32(noise.size())) + chunk("IEND", {}, 0));
    QByteArray ico = formats[2].good;
    qToLittleEndian(quint16(65535), ico.data() + 4);
    add("65535 images short.ico", ico);
    add("65535 images.ico", ico + QByteArray(16 * 65535, '\0'));
    add("xbm.bmp", "#define f_width 16384\n#define f_height 16384\nstatic char f_bits[] = {\n    0x00 };\n");
    add("ppm.jpg", EncodedPicture(GradientPicture(40, 30), "PPM"));
    add("xpm.ico", EncodedPicture(GradientPicture(4, 3), "XPM"));
    add("bmp.png", formats[0].good);
    return files;
}

QStringList BadPicturePaths(const QTemporaryDir& folder)
{
    QDir(folder.path()).mkdir(QStringLiteral("フォルダ です.bmp"));
    // Pipes, which no reader may wait on.
    for (const char* pipe : {"パイプ.png", "パイプ.bmp"})
        ::mkfifo(QFile::encodeName(folder.filePath(QString::fromUtf8(pipe))).constData(), 0644);
    QFile::link(folder.filePath(QStringLiteral("輪 b.jpg")), folder.filePath(QStringLiteral("輪 a.jpg")));
    QFile::link(folder.filePath(QStringLiteral("輪 a.jpg")), folder.filePath(QStringLiteral("輪 b.jpg")));
    return {folder.filePath(QStringLiteral("フォルダ です.bmp")), folder.filePath(QStringLiteral("ない 絵.png")),
            folder.filePath(QStringLiteral("ない 絵.bmp")), folder.filePath(QStringLiteral("輪 a.jpg")),
            folder.filePath(QStringLiteral("パイプ.png")), folder.filePath(QStringLiteral("パイプ.bmp"))};
}
