// The checks the general loader makes before a picture reader sees a file, on bytes: what
// passes at the edges of each rule and what is refused just beyond them.
#include "core/sources/PictureChecks.h"
#include "support/HandMadePictures.h"
#include "support/TestPictures.h"

#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {
// An 8-bit RLE bitmap stating `width` x `height` whose codes are `codes`.
QByteArray RleBitmap(qint32 width, qint32 height, const QByteArray& codes)
{
    QByteArray file("BM");
    LittleEndian(&file) << quint32(0) << quint32(0) << quint32(14 + 40 + 8) << quint32(40) << width << height
                        << quint16(1) << quint16(8) << quint32(1) << quint32(0) << quint32(0) << quint32(0)
                        << quint32(2) << quint32(0) << quint64(0);
    return file + codes;
}

QByteArray Patched16(QByteArray bytes, qsizetype at, quint16 value)
{
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
}

TEST(PictureChecks, EachRuleLetsThroughItsEdgeAndRefusesBeyondIt)
{
    const QByteArray bmp = EncodedPicture(NoisePicture(41, 3, 1), "BMP"); // rows of 123 bytes, 1 of padding
    QImage fewColours(20, 10, QImage::Format_RGB32);
    fewColours.fill(qRgb(10, 20, 30));
    const QByteArray gif = GifFile(fewColours);
    const qsizetype descriptor = gif.indexOf(',', 13 + 768);
    const QByteArray jpeg = EncodedPicture(GradientPicture(40, 30), "JPG");
    const qsizetype scan = jpeg.indexOf("\xFF\xDA");
    const QByteArray scanAndData = jpeg.mid(scan, jpeg.size() - 2 - scan);
    const QByteArray ico = IconFile(fewColours, 24, QImage(20, 10, QImage::Format_RGB32));
    const QByteArray runToEnd = QByteArray("\xFF\x01\x00\x01", 4); // 255 pixels, end of bitmap
    const struct {
        const char* what;
        QByteArray bytes;
        const char* refusal; // empty: passes
    } rows[] = {
        {"BMP whole", bmp, ""},
        {"BMP without the last row's padding", bmp.chopped(1), ""},
        {"BMP without the last pixel's last byte", bmp.chopped(2), "ends before its pixel data"},
        {"RLE leaving 2^22 pixels uncoded", RleBitmap(2048, 2048, runToEnd), ""},
        {"RLE leaving more uncoded", RleBitmap(2049, 2048, runToEnd), "uncoded"},
        {"RLE without end-of-bitmap", RleBitmap(16, 16, "\x10\x01"), "ends before its pixel data"},
        {"GIF whole", gif, ""},
        {"GIF image one row short of its codes", Patched16(gif, descriptor + 7, 11), "before its last pixel"},
        {"GIF without its trailer", gif.chopped(1), "before its trailer"},
        {"GIF screen 2^22 pixels beyond its image", Patched16(Patched16(gif, 6, 2048), 8, 2048 + 1), "far larger"},
        {"GIF screen within the allowance", Patched16(Patched16(gif, 6, 2048), 8, 2048), ""},
        {"JPEG whole", jpeg, ""},
        {"JPEG with stray bytes before a marker", jpeg.left(scan) + QByteArray(2, '\0') + jpeg.mid(scan), ""},
        {"JPEG of 100 scans", jpeg.left(scan) + scanAndData.repeated(100) + "\xFF\xD9", ""},
        {"JPEG of 101 scans", jpeg.left(scan) + scanAndData.repeated(101) + "\xFF\xD9", "more than 100 scans"},
        {"JPEG without EOI", jpeg.chopped(2), "before its EOI"},
        {"ICO whole", ico, ""},
        {"ICO without its mask's last byte", ico.chopped(1), "ends before its last image"},
        {"PPM", EncodedPicture(fewColours, "PPM"), "not a BMP, GIF, ICO, JPEG or PNG file"},
    };
    for (const auto& row : rows) {
        QByteArray bytes = row.bytes;
        QBuffer file(&bytes);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const Result<PictureFormat> check = CheckPictureFile(file);
        const std::string refusal = check ? "" : check.failure().english;
        EXPECT_EQ(bool(check), *row.refusal == '\0') << row.what;
        EXPECT_NE(refusal.find(row.refusal), std::string::npos) << row.what << ": " << refusal;
    }
}
} // namespace
