#include "support/TestPictures.h"

#include "core/surfaces/Surface.h"

#include <QBuffer>
#include <algorithm>
#include <random>

QImage GradientPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(40 + x * 160 / std::max(width, 1),
                                        60 + y * 140 / std::max(height, 1),
                                        200 - (x + y) * 120 / std::max(width + height, 1)));
    return picture;
}

QImage NoisePicture(int width, int height, std::uint32_t seed)
{
    std::mt19937 generator(seed);
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, 0xFF000000u | (generator() & 0xFFFFFFu));
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
