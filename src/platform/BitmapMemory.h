#pragma once
#include <QImage>

// A new w x h bitmap (QImage::Format_RGB32) in pixel memory (platform/PixelMemory.h),
// its pixels not yet initialised; a null image when the memory cannot be had. Copies
// share the pixels as any QImage's do.
QImage NewBitmap(int width, int height);
