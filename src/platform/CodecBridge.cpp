#include "platform/CodecBridge.h"

#include "platform/QtColor.h"
#include "platform/Surface.h"

CodecSurface CodecView(Surface& surface)
{
    QImage& bitmap = surface.hDC();
    CodecSurface view;
    view.bits = bitmap.bits();
    view.width = bitmap.width();
    view.height = bitmap.height();
    view.stride = static_cast<std::int32_t>(bitmap.bytesPerLine());
    view.background = static_cast<std::uint32_t>(ToColorRef(surface.BackColor()));
    return view;
}
