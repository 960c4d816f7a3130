#pragma once
#include "base/Result.h"
#include "core/surfaces/PixelMemory.h"
#include "files/SafeFile.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

// A Windows bitmap file of `bitmap` (QImage::Format_RGB32): a 14-byte file header, a
// 40-byte information header, then 24 bits per pixel (blue, green, red), rows from the
// bottom of the picture up, each row padded with zero bytes to a multiple of 4 bytes,
// no compression, no colour table, 96 dpi. Empty for a bitmap of another format, or one
// too large for the format's 32-bit sizes. The file is as large as the picture, so it is
// built in pixel memory.
using BmpBytes = std::vector<std::uint8_t, PixelAllocator<std::uint8_t>>;
BmpBytes EncodeBmp(const QImage& bitmap);

// Saves EncodeBmp(bitmap) as the file `path` by WriteFileSafely (files/SafeFile.h), so a
// failure leaves an existing file as it was, and Existing::Keep never replaces one.
Result<void> SaveBmp(const QImage& bitmap, const QString& path,
                     Existing existing = Existing::Replace);
