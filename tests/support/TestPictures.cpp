#include "support/TestPictures.h"

#include "core/surfaces/Surface.h"

#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>
#include <random>

QByteArray TestDataFile(const QString& file)
{
    QFile data(LAYERPIX_TESTDATA "/" + file);
    return data.open(QIODevice::ReadOnly) ? data.readAll() : QByteArray();
}

QString WriteFile(const QString& path, QByteArrayView bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes.data(), bytes.size()) == bytes.size())
        << qPrintable(path);
    return path;
}

QImage GradientPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int i = 0; i < width * height; ++i) {
        const int x = i % width, y = i / width;
        picture.setPixel(x, y, qRgb(40 + x * 160 / width, 60 + y * 140 / height,
                                    200 - (x + y) * 120 / (width + height)));
    }
    return picture;
}

QImage NoisePicture(int width, int height, std::uint32_t seed)
{
    std::mt19937 generator(seed);
    QImage picture(width, height, QImage::Format_RGB32);
    for (int i = 0; i < width * height; ++i)
        picture.setPixel(i % width, i / width, 0xFF000000u | (generator() & 0xFFFFFFu));
    return picture;
}

std::unique_ptr<Surface> SurfaceHolding(const QImage& picture)
{
    auto surface = std::make_unique<Surface>(73, 65, Qt::white);
    surface->AutoSize = true;
    surface->SetPicture(picture);
    return surface;
}

QByteArray EncodedPicture(const QImage& picture, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}
