#pragma once
#include "base/Result.h"
#include "codec/Metadata.h"
#include "core/view/SaveName.h"
#include "files/SafeFile.h"

#include <QString>
#include <cstdint>

class Surface;

// What the JPEG and PNG writers are told, in the settings' widths (JpegRate, JpegPrgrs,
// PngRate); the window passes the settings' values at the moment of saving.
struct SaveOptions {
    std::int16_t jpegRate;    // the JPEG "圧縮率", 1 to 100
    std::int16_t jpegPrgrs;   // progressive JPEG when non-zero
    std::int16_t pngRate;     // the PNG rate, 0, 1 or 2
};

// Writes the whole of the board's bitmap to the file `name` in `format`: a bitmap file
// written here, JPEG and PNG through the codec with the rates and progressive flag of
// `options`, carrying `metadata` (a bitmap file carries none). An existing file is replaced
// only by a complete new one, and with Existing::Keep never (the window asks first; the batch
// keeps what is there). Fails also for a rate that does not fit a byte (0 to 255) or that the
// codec refuses.
Result<void> WriteComposite(Surface& board, const QString& name, SaveFormat format,
                            const SaveOptions& options, const PictureMetadata& metadata = {},
                            Existing existing = Existing::Replace);
