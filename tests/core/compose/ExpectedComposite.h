#pragma once
#include "support/ReferenceBlend.h"

#include <QImage>

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
