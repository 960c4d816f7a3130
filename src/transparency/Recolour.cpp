#include "transparency/Recolour.h"

#include "compose/PixelArray.h"
#include "platform/Surface.h"
#include "transparency/ReplaceColour.h"

bool RecolourLikePixel(Surface& picture, std::int32_t x, std::int32_t y, ColorRef key)
{
    PixelArray pixels;
    const std::int32_t count = ReadPixels(picture, pixels);
    if (count < 0)
        return false;
    const std::int32_t w = picture.Width(), h = picture.Height();
    // Copied before anything changes: the clicked element is itself repainted.
    const PixelElement clicked = pixels[std::size_t(h - 1 - y) * std::size_t(w) + std::size_t(x)];
    ReplaceColour(pixels, count, clicked.Red, clicked.Green, clicked.Blue,
                  std::uint8_t(RedOf(key)), std::uint8_t(GreenOf(key)), std::uint8_t(BlueOf(key)));
    return WritePixels(picture, pixels) == 0;
}
