#pragma once
#include "codec/Metadata.h"

#include <QString>

// The metadata of the picture file `path` that a composite on it carries (Metadata.h): of a
// JPEG or PNG file, told by its content; none of another file, or of one that does not open.
// Read when the picture is loaded, so the save writes what the file held then.
PictureMetadata ReadSourceMetadata(const QString& path);
