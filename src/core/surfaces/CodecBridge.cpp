#include "core/surfaces/CodecBridge.h"

#include "core/surfaces/QtColor.h"
#include "core/surfaces/Surface.h"

CodecSurface CodecView(Surface& surface)
{
    return CodecView(surface.hDC(), surface.BackColor());
}

CodecSurface CodecView(QImage& bitmap, QColor background)
{
    CodecSurface view;
    view.bits = bitmap.bits();
    view.width = bitmap.width();
    view.height = bitmap.height();
    view.stride = static_cast<std::int32_t>(bitmap.bytesPerLine());
    view.background = static_cast<std::uint32_t>(ToColorRef(background));
    return view;
}
