#pragma once
#include "core/sources/PictureLoader.h"

#include <QColor>
#include <QString>

// Decodes a source picture file by the loading route its name picks: a name ending in
// ".png" in any letter case goes to the PNG codec (and is not retried elsewhere when the
// codec refuses it), every other name to the general loader, which goes by content.
// Pixels with alpha are drawn over `background`, or keep it (PictureLoader.h).
LoadedPicture LoadSourcePicture(const QString& path, PictureBackground background);
