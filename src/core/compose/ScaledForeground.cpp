#include "core/compose/ScaledForeground.h"

#include "core/compose/SoftKey.h"

QImage ScaledForeground(const QImage& front, ColorRef key, std::int32_t keyTolerance, QSize size)
{
    const bool ownAlpha = front.hasAlphaChannel();
    const QImage source = front.convertToFormat(ownAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const PixelElement k = PixelOf(key);
    QImage keyed(source.size(), QImage::Format_ARGB32);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const PixelElement pixel{std::uint8_t(qBlue(in[x])), std::uint8_t(qGreen(in[x])),
                                     std::uint8_t(qRed(in[x])), 0};
            const KeyedPixel kept = ApplyKey(pixel, ownAlpha ? std::uint8_t(qAlpha(in[x])) : 255, k, keyTolerance);
            out[x] = qRgba(kept.colour.Red, kept.colour.Green, kept.colour.Blue, kept.alpha);
        }
    }
    QImage scaled = keyed.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                        .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                        .convertToFormat(QImage::Format_ARGB32);
    const QRgb keyColour = qRgb(RedOf(key), GreenOf(key), BlueOf(key));
    for (int y = 0; y < scaled.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(scaled.scanLine(y));
        for (int x = 0; x < scaled.width(); ++x)
            if ((row[x] & 0xFFFFFF) == (keyColour & 0xFFFFFF) && qAlpha(row[x]) != 0)
                row[x] ^= 1;
    }
    return scaled;
}
