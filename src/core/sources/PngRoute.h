#pragma once
#include "core/sources/PictureLoader.h"

#include <QColor>
#include <QString>

// Decodes the PNG file `path` through the codec into a new picture, with pixels that
// carry alpha drawn over `background` (or kept, PictureLoader.h). Fails without running the codec when the file
// cannot be opened, lacks the signature, states a size of 0 or beyond the picture limit,
// or is too short to hold the picture it states; fails when the codec does. Never yields
// std::nullopt.
LoadedPicture ReadPngFile(const QString& path, PictureBackground background);
