#include "core/surfaces/CodecBridge.h"

#include "core/surfaces/QtColour.h"
#include "core/surfaces/Surface.h"

CodecSurface CodecView(Surface& surface)
{
    return CodecView(surface.hDC(), surface.BackColour());
}

CodecSurface CodecView(QImage& bitmap, QColor background)
{
    CodecSurface view;
    view.bits = bitmap.bits();
    view.width = bitmap.width();
    view.height = bitmap.height();
    view.stride = static_cast<std::int32_t>(bitmap.bytesPerLine());
    view.background = static_cast<std::uint32_t>(ColorRefOf(background));
    return view;
}
