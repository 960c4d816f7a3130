#pragma once
// Picture files that Qt cannot write, made byte by byte for tests: icons with an AND mask
// and GIF files.
#include <QByteArray>
#include <QDataStream>
#include <QImage>

// A stream appending little-endian numbers to `bytes`, as the formats made here store them.
struct LittleEndian : QDataStream {
    explicit LittleEndian(QByteArray* bytes);
};

// An icon file of one bitmap image: `picture` stored with `bitCount` bits a pixel (1 and 8
// with a colour table of the picture's colours, which must fit; 24; 32 with every alpha 0),
// followed by its AND mask: a pixel is transparent where `transparent` (same size) is
// non-zero in the red channel.
QByteArray IconFile(const QImage& picture, int bitCount, const QImage& transparent);

// A GIF87a file of one image, `picture` (at most 256 colours), with a global colour table.
// The LZW codes are written 9 bits wide with a clear code before the table would grow.
QByteArray GifFile(const QImage& picture);
