#include "support/PixelAssert.h"

#include <cstdlib>

QString PixelText(QRgb pixel)
{
    return QStringLiteral("#%1").arg(pixel & 0xFFFFFF, 6, 16, QChar('0')).toUpper();
}

::testing::AssertionResult SamePixels(const QImage& expected, const QImage& actual, int tolerance)
{
    if (expected.size() != actual.size())
        return ::testing::AssertionFailure() << "size " << actual.width() << "x" << actual.height()
                                             << ", expected " << expected.width() << "x" << expected.height();
    int differing = 0;
    auto failure = ::testing::AssertionFailure();
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb e = expected.pixel(x, y), a = actual.pixel(x, y);
            if (std::abs(qRed(a) - qRed(e)) <= tolerance && std::abs(qGreen(a) - qGreen(e)) <= tolerance
                && std::abs(qBlue(a) - qBlue(e)) <= tolerance)
                continue;
            if (++differing <= 5)
                failure << "(" << x << ", " << y << ") is " << PixelText(a).toStdString() << ", expected "
                        << PixelText(e).toStdString() << "; ";
        }
    return differing == 0 ? ::testing::AssertionSuccess() : failure << differing << " pixels differ";
}

::testing::AssertionResult PixelIs(const QImage& image, int x, int y, QRgb expected)
{
    if (!image.valid(x, y))
        return ::testing::AssertionFailure() << "(" << x << ", " << y << ") lies outside " << image.width()
                                             << "x" << image.height();
    if ((image.pixel(x, y) & 0xFFFFFF) == (expected & 0xFFFFFF))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is "
                                         << PixelText(image.pixel(x, y)).toStdString() << ", expected "
                                         << PixelText(expected).toStdString();
}
