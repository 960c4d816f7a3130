#pragma once
#include "platform/PictureLoader.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <cstdint>
#include <optional>

// The picture size a PNG file states in its header.
struct PngDimensions {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Checks the first bytes of a PNG file: std::nullopt unless bytes 0 to 7 are the PNG
// signature; otherwise the whole 32-bit big-endian width (bytes 16 to 19) and height
// (bytes 20 to 23). Bytes missing from a short file count as 0.
std::optional<PngDimensions> ReadPngHeader(const QByteArray& head);

// Decodes the PNG file `path` through the codec into a new picture, with pixels that
// carry alpha drawn over `background`. Fails without running the codec when the file
// cannot be opened, lacks the signature, or states a size of 0 or beyond the picture
// limit; fails when the codec does. Never yields LoadedPicture::Outcome::NoPicture.
LoadedPicture ReadPngFile(const QString& path, QColor background);
