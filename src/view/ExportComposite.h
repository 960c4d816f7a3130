#pragma once
#include "view/SaveName.h"

#include <QString>

class Surface;

// Writes the whole of the board's bitmap to the file `name` in `format`: a bitmap file
// written here, JPEG and PNG through the codec with the JPEG rate, progressive flag and
// PNG rate that Settings holds at this moment. An existing file is replaced only by a
// complete new one. Returns an empty text on success, otherwise the reason, also for a
// rate that does not fit a byte (0 to 255).
QString WriteComposite(Surface& board, const QString& name, SaveFormat format);
