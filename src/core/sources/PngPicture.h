#pragma once
#include "codec/PngSize.h"
#include "core/sources/PictureLoader.h"

#include <QColor>
#include <QString>

// The bytes a PNG file's header takes, up to its colour type.
inline constexpr int kPngHeaderBytes = 26;

// Decodes the PNG file `path` of `fileSize` bytes, whose header states `stated`, through the
// codec into a new picture, with pixels that carry alpha drawn over `background`. Refused
// before anything is allocated when the stated size is 0 or beyond the picture limit, or the
// file is too short to hold such a picture; the picture is then allocated without being
// cleared, so memory is taken up only as decoded rows arrive.
LoadedPicture DecodePngPicture(const QString& path, const PngStatedPicture& stated,
                               qint64 fileSize, QColor background);
