#pragma once
#include <QImage>
#include <atomic>
#include <memory>
#include <thread>

// A new w x h bitmap (QImage::Format_RGB32) in pixel memory (platform/PixelMemory.h),
// its pixels not yet initialised; a null image when the memory cannot be had. Copies
// share the pixels as any QImage's do.
QImage NewBitmap(int width, int height);

// While it lives, the pages of a new camera-sized bitmap are mapped on a second thread, ahead
// of whatever writes the bitmap: the system clears fresh memory slowly, and this way the
// clearing is done before it is needed. Mapping changes no byte, so it is harmless even when
// the writer replaces the bitmap meanwhile. It ends with the object, leaving the rest of the
// memory unmapped.
class BitmapPagesAhead {
public:
    // `step` bytes are mapped at a time, kLargePixelBlock or more; a bitmap smaller than that
    // is not mapped.
    BitmapPagesAhead(const QImage& bitmap, std::size_t step);
    ~BitmapPagesAhead();
    BitmapPagesAhead(const BitmapPagesAhead&) = delete;
    BitmapPagesAhead& operator=(const BitmapPagesAhead&) = delete;

private:
    std::atomic<bool> done_{false};
    std::thread mapping_;
};

// A bitmap got ready before anything draws on it: its memory is had at once and its pages are
// mapped on a second thread meanwhile, a camera-sized block (kLargePixelBlock) a step, so that
// the first drawing does not wait for the system to clear fresh memory.
class PreparedBitmap {
public:
    // Gets a width x height bitmap ready, unless it holds one of that size; what it held
    // otherwise is dropped. A size of 0 holds none.
    void Prepare(int width, int height);
    // Holds `bitmap`, whose pages are mapped already, for the next taker; one whose pixels
    // a copy still shares is not held.
    void Keep(QImage bitmap);
    // The bitmap when it is width x height, else a null image. Pages not mapped yet go on
    // being mapped ahead of the taker's writing, until the next Prepare or Keep; nothing is
    // held afterwards.
    QImage Take(int width, int height);

private:
    std::unique_ptr<BitmapPagesAhead> mapping_;
    QImage bitmap_;
};
