#include "support/HandMadePictures.h"

#include <QIODevice>
#include <vector>

LittleEndian::LittleEndian(QByteArray* bytes) : QDataStream(bytes, QIODevice::Append)
{
    setByteOrder(QDataStream::LittleEndian);
}

namespace {
// The picture's distinct colours, opaque, in order of first appearance.
QList<QRgb> ColourTable(const QImage& picture)
{
    QList<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (!colours.contains(picture.pixel(x, y) | 0xFF000000u))
                colours << (picture.pixel(x, y) | 0xFF000000u);
    return colours;
}

// A bitmap row of `values` of `bitCount` bits each: packed from the high bits on below 8 bits,
// little-endian bytes from 8 bits on, padded to 4 bytes.
QByteArray PackedRow(const std::vector<quint32>& values, int bitCount)
{
    QByteArray row;
    int bits = 0, filled = 0;
    for (const quint32 value : values) {
        if (bitCount >= 8) {
            for (int at = 0; at < bitCount; at += 8)
                row.append(char(value >> at));
        } else if (bits = bits << bitCount | int(value); (filled += bitCount) == 8) {
            row.append(char(bits));
            bits = filled = 0;
        }
    }
    if (filled > 0)
        row.append(char(bits << (8 - filled)));
    return row.leftJustified((row.size() + 3) / 4 * 4, '\0');
}
} // namespace

QByteArray IconFile(const QImage& picture, int bitCount, const QImage& transparent)
{
    const int width = picture.width(), height = picture.height();
    const QList<QRgb> colours = bitCount <= 8 ? ColourTable(picture) : QList<QRgb>();
    QByteArray image, mask;
    LittleEndian header(&image);
    header << quint32(40) << quint32(width) << quint32(height * 2) << quint16(1) << quint16(bitCount) << quint32(0)
           << quint32(0) << quint32(0) << quint32(0) << quint32(0) << quint32(0);
    for (int i = 0; bitCount <= 8 && i < 1 << bitCount; ++i)
        header << quint32(i < colours.size() ? colours[i] & 0xFFFFFF : 0);
    for (int y = height - 1; y >= 0; --y) {
        std::vector<quint32> values, holes;
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = picture.pixel(x, y) | 0xFF000000u;
            values.push_back(bitCount <= 8 ? quint32(colours.indexOf(pixel)) : pixel & 0xFFFFFF);
            holes.push_back(qRed(transparent.pixel(x, y)) != 0);
        }
        image += PackedRow(values, bitCount);
        mask += PackedRow(holes, 1);
    }
    QByteArray file;
    LittleEndian(&file) << quint16(0) << quint16(1) << quint16(1) << quint8(width) << quint8(height) << quint16(0)
                        << quint16(1) << quint16(bitCount) << quint32(image.size() + mask.size()) << quint32(6 + 16);
    return file + image + mask;
}

QByteArray GifFile(const QImage& picture)
{
    const QList<QRgb> colours = ColourTable(picture);
    QByteArray file("GIF87a");
    LittleEndian stream(&file);
    // A global table of 256 colours, then one image covering the screen.
    stream << quint16(picture.width()) << quint16(picture.height()) << quint8(0xF7) << quint16(0);
    for (int i = 0; i < 256; ++i) {
        const QRgb colour = i < colours.size() ? colours[i] : 0;
        stream << quint8(qRed(colour)) << quint8(qGreen(colour)) << quint8(qBlue(colour));
    }
    stream << quint8(',') << quint32(0) << quint16(picture.width()) << quint16(picture.height()) << quint8(0)
           << quint8(8);
    // Codes of 9 bits: 256 clear, 257 end; a clear code every 254 pixels keeps the table
    // from reaching 512 entries, where the codes would widen.
    QByteArray data;
    quint32 bits = 0;
    int filled = 0;
    const auto put = [&](int code) {
        bits |= quint32(code) << filled;
        for (filled += 9; filled >= 8; filled -= 8, bits >>= 8)
            data.append(char(bits & 0xFF));
    };
    for (int i = 0; i < picture.width() * picture.height(); ++i) {
        if (i % 254 == 0)
            put(256);
        put(int(colours.indexOf(picture.pixel(i % picture.width(), i / picture.width()) | 0xFF000000u)));
    }
    put(257);
    if (filled > 0)
        data.append(char(bits & 0xFF));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        stream << quint8(block.size());
        stream.writeRawData(block.constData(), int(block.size()));
    }
    stream << quint8(0) << quint8(';');
    return file;
}
