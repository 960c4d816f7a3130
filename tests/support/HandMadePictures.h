#pragma once
// Icon files, which Qt cannot write with an AND mask, made byte by byte for tests.
#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <QImage>

// A stream appending little-endian numbers to `bytes`, as the formats made here store them.
struct LittleEndian : QDataStream {
    explicit LittleEndian(QByteArray* bytes) : QDataStream(bytes, QIODevice::Append) { setByteOrder(QDataStream::LittleEndian); }
};

// An icon file of one bitmap image: `picture` stored with `bitCount` bits a pixel (1 and 8
// with a colour table of the picture's colours, which must fit; 24; 32 with every alpha 0),
// followed by its AND mask: a pixel is transparent where `transparent` (same size) is
// non-zero in the red channel.
QByteArray IconFile(const QImage& picture, int bitCount, const QImage& transparent);

