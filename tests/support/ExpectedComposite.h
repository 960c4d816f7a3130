#pragma once
#include <QImage>
#include <cmath>

// One channel of the blend written plainly from the formula, in double arithmetic, with
// the rounding to even done by hand rather than by the library: the reference the fast
// blend is checked against.
inline int ReferenceChannel(int background, int foreground, int rate)
{
    const double value = (double(background) / 100.0) * double(100 - rate) +
                         (double(foreground) / 100.0) * double(rate);
    const double below = std::floor(value), fraction = value - below;
    return int(below) + (fraction > 0.5 || (fraction == 0.5 && int(below) % 2 == 1) ? 1 : 0);
}

// The composite worked out pixel by pixel with the plain formula: the background with the
// foreground's pixels other than `key` blended in at `at`.
inline QImage ExpectedComposite(const QImage& front, const QImage& back, QPoint at, int rate, QRgb key)
{
    QImage expected = back.copy();
    const QRect overlap = QRect(at, front.size()) & back.rect();
    for (int y = overlap.top(); y <= overlap.bottom(); ++y)
        for (int x = overlap.left(); x <= overlap.right(); ++x)
            if (const QRgb f = front.pixel(x - at.x(), y - at.y()), b = back.pixel(x, y); f != key)
                expected.setPixel(x, y, qRgb(ReferenceChannel(qRed(b), qRed(f), rate),
                                             ReferenceChannel(qGreen(b), qGreen(f), rate),
                                             ReferenceChannel(qBlue(b), qBlue(f), rate)));
    return expected;
}
