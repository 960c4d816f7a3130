#include "support/HandMadePictures.h"

#include <vector>

namespace {
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
    QList<QRgb> colours; // the picture's distinct colours, in order of first appearance
    for (int i = 0; bitCount <= 8 && i < width * height; ++i)
        if (const QRgb colour = picture.pixel(i % width, i / width) | 0xFF000000u; !colours.contains(colour))
            colours << colour;
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
