#pragma once
#include <QImage>
#include <atomic>
#include <thread>

// A new w x h bitmap (QImage::Format_RGB32) in pixel memory (platform/PixelMemory.h),
// its pixels not yet initialised; a null image when the memory cannot be had. Copies
// share the pixels as any QImage's do.
QImage NewBitmap(int width, int height);

// While it lives, the pages of a new camera-sized bitmap are mapped on a second thread, ahead
// of a decoder or a fill writing the bitmap from the top: the system clears fresh memory
// about as slowly as a JPEG decodes, and this way the two run side by side. Mapping changes
// no byte, so it is harmless even when the writer replaces the bitmap meanwhile. It ends with
// the object: a writer that stops early leaves the rest of the memory unmapped.
class BitmapPagesAhead {
public:
    explicit BitmapPagesAhead(const QImage& bitmap);
    ~BitmapPagesAhead();
    BitmapPagesAhead(const BitmapPagesAhead&) = delete;
    BitmapPagesAhead& operator=(const BitmapPagesAhead&) = delete;

private:
    std::atomic<bool> done_{false};
    std::thread mapping_;
};
