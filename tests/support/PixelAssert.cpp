#include "support/PixelAssert.h"

#include <QString>
#include <algorithm>
#include <cstdlib>

namespace {
std::string Text(QRgb pixel) { return QString::asprintf("#%06X", pixel & 0xFFFFFF).toStdString(); }
} // namespace

::testing::AssertionResult SamePixels(const QImage& expected, const QImage& actual, int tolerance)
{
    if (expected.size() != actual.size())
        return ::testing::AssertionFailure() << "size " << actual.width() << "x" << actual.height() << ", expected "
                                             << expected.width() << "x" << expected.height();
    int differing = 0;
    auto failure = ::testing::AssertionFailure();
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb e = expected.pixel(x, y), a = actual.pixel(x, y);
            const int off = std::max({std::abs(qRed(a) - qRed(e)), std::abs(qGreen(a) - qGreen(e)),
                                      std::abs(qBlue(a) - qBlue(e))});
            if (off > tolerance && ++differing <= 5)
                failure << "(" << x << ", " << y << ") is " << Text(a) << ", expected " << Text(e) << "; ";
        }
    return differing == 0 ? ::testing::AssertionSuccess() : failure << differing << " pixels differ";
}

::testing::AssertionResult PixelIs(const QImage& image, int x, int y, QRgb expected)
{
    const bool inside = image.valid(x, y);
    if (inside && (image.pixel(x, y) & 0xFFFFFF) == (expected & 0xFFFFFF))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is "
                                         << (inside ? Text(image.pixel(x, y)) : "outside the picture")
                                         << ", expected " << Text(expected);
}
