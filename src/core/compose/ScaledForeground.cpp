#include "core/compose/ScaledForeground.h"

#include "core/compose/SoftKey.h"

QImage ScaledForeground(const QImage& front, ColorRef key, std::int32_t keyTolerance, QSize size)
{
    const bool ownAlpha = front.hasAlphaChannel();
    const QImage source = front.convertToFormat(ownAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const PixelElement k = PixelOf(key);
    const QRgb keyColour = qRgb(RedOf(key), GreenOf(key), BlueOf(key)) & 0xFFFFFF;
    // Keyed straight into premultiplied pixels, where a pixel that covers nothing is 0.
    QImage keyed(source.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const QRgb pixel = ownAlpha ? in[x] : in[x] | 0xFF000000;
            if ((pixel & 0xFFFFFF) == keyColour) {
                out[x] = 0;
            } else if (keyTolerance == 0) {
                out[x] = qPremultiply(pixel);
            } else {
                const KeyedPixel kept = ApplyKey({std::uint8_t(qBlue(pixel)), std::uint8_t(qGreen(pixel)),
                                                  std::uint8_t(qRed(pixel)), 0},
                                                 std::uint8_t(qAlpha(pixel)), k, keyTolerance);
                out[x] = qPremultiply(qRgba(kept.colour.Red, kept.colour.Green, kept.colour.Blue, kept.alpha));
            }
        }
    }
    const QImage scaled = keyed.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage result(scaled.size(), QImage::Format_ARGB32);
    for (int y = 0; y < scaled.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(scaled.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < scaled.width(); ++x) {
            out[x] = qUnpremultiply(in[x]);
            if ((out[x] & 0xFFFFFF) == keyColour && qAlpha(out[x]) != 0)
                out[x] ^= 1;
        }
    }
    return result;
}
