#pragma once
#include "core/sources/PictureLoader.h"

#include <QColor>
#include <QFile>
#include <QString>

// Decodes the PNG file `path`, open as `file` at its start, through the codec into a new
// picture, with pixels that carry alpha drawn over `background` (or kept, PictureLoader.h). Refused before anything is
// allocated when the file lacks the PNG signature, states a size of 0 or beyond the picture
// limit, or holds too little image data for such a picture (PngSize.h); the picture is then
// allocated without being cleared, so memory is taken up only as decoded rows arrive.
LoadedPicture DecodePngPicture(const QString& path, QFile& file, PictureBackground background);
