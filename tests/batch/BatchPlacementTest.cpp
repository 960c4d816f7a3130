// Where the batch places and how it sizes the foreground on backgrounds of every size.
#include "batch/BatchOptions.h"
#include "core/compose/ScaledForeground.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {
// The settled placement of the command line, or its error.
std::string Placed(const QStringList& placement, QSize front, QSize background)
{
    const auto parsed = ParseBatchCommandLine(QStringList{"--foreground", "f.png", "-o", "out", "b.jpg"} + placement);
    if (!parsed)
        return "error: " + parsed.failure().english;
    const BatchSettings s = *SettleBatchSettings(parsed->options, {}, 1);
    const QSize size = s.scale ? ScaledFrontSize(front, background, *s.scale) : front;
    const QPoint at = s.gravity ? PlacedCorner(size, background, *s.gravity, s.margin) : QPoint(s.x, s.y);
    return QString::asprintf("%dx%d at %d,%d", size.width(), size.height(), at.x(), at.y()).toStdString();
}

TEST(BatchPlacement, GravityMarginAndScaleFitEveryBackground)
{
    const QSize logo(400, 200), landscape(3000, 2000), portrait(1200, 1800);
    const struct { QStringList placement; QSize background; std::string expected; } rows[] = {
        {{"--at", "7,-3"}, landscape, "400x200 at 7,-3"},
        {{"--gravity", "nw"}, landscape, "400x200 at 0,0"},
        {{"--gravity", "C"}, {1001, 1001}, "400x200 at 300,400"},
        {{"--gravity", "se", "--margin", "10,2%"}, landscape, "400x200 at 2590,1760"},
        {{"--gravity", "se", "--margin", "10,2%"}, portrait, "400x200 at 790,1564"},
        {{"--gravity", "n", "--margin", "99,0.5%"}, portrait, "400x200 at 400,9"},
        {{"--gravity", "sw", "--margin", "2.5%,0", "--scale", "10"}, landscape, "300x150 at 75,1850"},
        {{"--gravity", "e", "--scale", "10"}, portrait, "120x60 at 1080,870"},
        {{"--scale", "100x100"}, portrait, "100x50 at 0,0"},
        {{"--scale", "50"}, {1, 1}, "1x1 at 0,0"},
        {{"--scale", "100"}, {16384 * 16384, 1}, "23170x11585 at 0,0"},   // within the picture limit
        {{"--gravity", "ne", "--at", "1,1"}, landscape,
         "error: --at places the corner itself: give it or --gravity and --margin"},
        {{"--margin", "1,1"}, landscape, "error: --margin is measured from the edges --gravity names: give --gravity too"}};
    for (const auto& row : rows)
        EXPECT_EQ(Placed(row.placement, logo, row.background), row.expected) << row.placement.join(' ').toStdString();
    for (const auto& [option, value] : {std::pair{"--gravity", "north"}, {"--margin", "1"},
                                        {"--margin", "1.5,0"}, {"--margin", "101%,0"}, {"--margin", "-1,0"},
                                        {"--scale", "0"}, {"--scale", "100.5"}, {"--scale", "10x0"},
                                        {"--scale", "1.5x2"}, {"--scale", "x"}})
        EXPECT_TRUE(Placed(QStringList{option, value} + (option == std::string("--margin") ? QStringList{"--gravity", "c"}
                                                                                          : QStringList{}),
                           logo, landscape).starts_with("error: invalid value '" + std::string(value) + "' for " + option))
            << option << ' ' << value;
}

// A green block on a magenta backdrop, keyed and shrunk: the edge pixels are the disc's green,
// partly covering, never mixed with the key; and a resampled pixel that is exactly the key
// colour is not taken by the key again.
TEST(ScaledForeground, KeyedPixelsNeverBleedIntoTheEdge)
{
    QImage disc(400, 400, QImage::Format_RGB32);
    disc.fill(QColor(255, 0, 255));
    QPainter(&disc).fillRect(QRect(100, 100, 201, 151), QColor(0, 160, 60));
    const QImage scaled = ScaledForeground(disc, RGB(255, 0, 255), 0, QSize(61, 47));
    int partly = 0;
    for (int y = 0; y < scaled.height(); ++y)
        for (int x = 0; x < scaled.width(); ++x) {
            const QRgb pixel = scaled.pixel(x, y);
            partly += qAlpha(pixel) > 0 && qAlpha(pixel) < 255;
            // Premultiplied bytes hold a faint pixel's colour to within 255 / alpha.
            const int near = qAlpha(pixel) ? 1 + 255 / qAlpha(pixel) : 255;
            ASSERT_TRUE(qRed(pixel) <= near && std::abs(qGreen(pixel) - 160) <= near &&
                        std::abs(qBlue(pixel) - 60) <= near) << x << "," << y << " " << std::hex << pixel;
        }
    EXPECT_GT(partly, 0);
    QImage pair(2, 1, QImage::Format_RGB32);
    pair.setPixel(0, 0, qRgb(98, 100, 100));
    pair.setPixel(1, 0, qRgb(102, 100, 100));
    EXPECT_EQ(ScaledForeground(pair, RGB(100, 100, 100), 0, QSize(1, 1)).pixel(0, 0), qRgba(100, 100, 101, 255));
}
} // namespace
