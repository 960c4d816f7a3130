#pragma once
#include <QImage>
#include <cmath>

// One channel of the blend written plainly from the formula, in double arithmetic, with
// the rounding to even done by hand rather than by the library: the reference the fast
// blend is checked against. A foreground pixel of alpha a weighs rate * a / 255 percent.
inline int ReferenceChannel(int background, int foreground, int rate, int alpha = 255)
{
    const double weight = double(rate) * double(alpha) / 255.0;
    const double value = (double(background) / 100.0) * (100.0 - weight) +
                         (double(foreground) / 100.0) * weight;
    const double below = std::floor(value), fraction = value - below;
    return int(below) + (fraction > 0.5 || (fraction == 0.5 && int(below) % 2 == 1) ? 1 : 0);
}

// The composite worked out pixel by pixel with the plain formula: the background with the
// foreground's pixels other than `key` blended in at `at`, each by its alpha when the
// foreground has an alpha channel (`key` is opaque; 0 keys nothing).
inline QImage ExpectedComposite(const QImage& front, const QImage& back, QPoint at, int rate, QRgb key)
{
    QImage expected = back.copy();
    const QRect overlap = QRect(at, front.size()) & back.rect();
    for (int y = overlap.top(); y <= overlap.bottom(); ++y)
        for (int x = overlap.left(); x <= overlap.right(); ++x)
            if (const QRgb f = front.pixel(x - at.x(), y - at.y()), b = back.pixel(x, y);
                (f | 0xFF000000u) != key) {
                const int a = front.hasAlphaChannel() ? qAlpha(f) : 255;
                expected.setPixel(x, y, qRgb(ReferenceChannel(qRed(b), qRed(f), rate, a),
                                             ReferenceChannel(qGreen(b), qGreen(f), rate, a),
                                             ReferenceChannel(qBlue(b), qBlue(f), rate, a)));
            }
    return expected;
}
