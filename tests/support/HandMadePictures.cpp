#include "support/HandMadePictures.h"

#include <QtEndian>
#include <vector>

namespace {
void Append16(QByteArray& bytes, quint16 value)
{
    bytes.append(char(value & 0xFF)).append(char(value >> 8));
}
void Append32(QByteArray& bytes, quint32 value)
{
    Append16(bytes, quint16(value & 0xFFFF));
    Append16(bytes, quint16(value >> 16));
}

// The picture's distinct colours, in order of first appearance.
QList<QRgb> ColourTable(const QImage& picture)
{
    QList<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (!colours.contains(picture.pixel(x, y) | 0xFF000000u))
                colours << (picture.pixel(x, y) | 0xFF000000u);
    return colours;
}

QByteArray PackedRow(const std::vector<int>& values, int bitCount)
{
    QByteArray row;
    int bits = 0, filled = 0;
    for (const int value : values) {
        bits = bits << bitCount | value;
        filled += bitCount;
        if (filled == 8) {
            row.append(char(bits));
            bits = filled = 0;
        }
    }
    if (filled > 0)
        row.append(char(bits << (8 - filled)));
    while (row.size() % 4 != 0)
        row.append('\0');
    return row;
}
} // namespace

QByteArray IconFile(const QImage& picture, int bitCount, const QImage& transparent)
{
    const int width = picture.width(), height = picture.height();
    const QList<QRgb> colours = bitCount <= 8 ? ColourTable(picture) : QList<QRgb>();
    QByteArray image;
    Append32(image, 40);
    Append32(image, quint32(width));
    Append32(image, quint32(height * 2));
    Append16(image, 1);
    Append16(image, quint16(bitCount));
    Append32(image, 0);
    for (int i = 0; i < 5; ++i)
        Append32(image, 0);
    for (int i = 0; bitCount <= 8 && i < 1 << bitCount; ++i)
        Append32(image, i < colours.size() ? colours[i] & 0xFFFFFF : 0);
    for (int y = height - 1; y >= 0; --y) {
        std::vector<int> indexes;
        QByteArray row;
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = picture.pixel(x, y);
            if (bitCount <= 8)
                indexes.push_back(int(colours.indexOf(pixel | 0xFF000000u)));
            else
                row.append(char(qBlue(pixel))).append(char(qGreen(pixel))).append(char(qRed(pixel)));
            if (bitCount == 32)
                row.append('\0');
        }
        if (bitCount <= 8)
            row = PackedRow(indexes, bitCount);
        while (row.size() % 4 != 0)
            row.append('\0');
        image += row;
    }
    for (int y = height - 1; y >= 0; --y) {
        std::vector<int> maskBits;
        for (int x = 0; x < width; ++x)
            maskBits.push_back(qRed(transparent.pixel(x, y)) != 0 ? 1 : 0);
        image += PackedRow(maskBits, 1);
    }
    QByteArray file;
    Append16(file, 0);
    Append16(file, 1);
    Append16(file, 1);
    file.append(char(width & 0xFF)).append(char(height & 0xFF)).append('\0').append('\0');
    Append16(file, 1);
    Append16(file, quint16(bitCount));
    Append32(file, quint32(image.size()));
    Append32(file, 6 + 16);
    return file + image;
}

QByteArray GifFile(const QImage& picture)
{
    const QList<QRgb> colours = ColourTable(picture);
    QByteArray file("GIF87a");
    Append16(file, quint16(picture.width()));
    Append16(file, quint16(picture.height()));
    file.append(char(0xF7)).append('\0').append('\0'); // a global table of 256 colours
    for (int i = 0; i < 256; ++i) {
        const QRgb colour = i < colours.size() ? colours[i] : 0;
        file.append(char(qRed(colour))).append(char(qGreen(colour))).append(char(qBlue(colour)));
    }
    file.append(',');
    Append16(file, 0);
    Append16(file, 0);
    Append16(file, quint16(picture.width()));
    Append16(file, quint16(picture.height()));
    file.append('\0').append('\x08');
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
    int sinceClear = 254;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            if (sinceClear == 254) {
                put(256);
                sinceClear = 0;
            }
            put(int(colours.indexOf(picture.pixel(x, y) | 0xFF000000u)));
            ++sinceClear;
        }
    put(257);
    if (filled > 0)
        data.append(char(bits & 0xFF));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        file.append(char(block.size())).append(block);
    }
    file.append('\0').append(';');
    return file;
}
