#include "core/transparency/Loupe.h"

#include "core/surfaces/Gdi.h"
#include "core/surfaces/Surface.h"
#include "core/transparency/LoupeClip.h"

void DrawLoupe(Surface& loupe, const Surface& picture, std::int32_t pointerX,
               std::int32_t pointerY)
{
    const LoupeSource source =
        ClipLoupeSource(pointerX, pointerY, picture.Width(), picture.Height());
    loupe.Cls();
    if (source.Visible())
        StretchBlt(loupe.hDC(), LoupeZoom * source.dx, LoupeZoom * source.dy,
                   LoupeZoom * source.w, LoupeZoom * source.h, picture.Image(), source.sx,
                   source.sy, source.w, source.h, SRCCOPY);
    loupe.Refresh();
}
