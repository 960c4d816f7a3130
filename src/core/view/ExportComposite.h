#pragma once
#include "base/Result.h"
#include "codec/Metadata.h"
#include "codec/Rows.h"
#include "core/view/SaveName.h"
#include "files/SafeFile.h"

#include <QString>
#include <cstdint>
#include <functional>

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

// Composes the foreground over a band of the background in place: its pixels, and the
// background row of its top. False stops the streaming: the composite is then not written.
using ComposeBand = std::function<bool(const CodecSurface& band, std::int32_t top)>;

// Writes to `name` what WriteComposite writes of the whole composite, byte for byte, from the
// background read from `rows` a band at a time with `compose` applied to each band, so that
// neither the background nor the composite is ever held whole. False, with nothing written,
// when it cannot be written so: a bitmap or progressive JPEG file, a rate the codec refuses,
// a background whose data turn out damaged, or `compose` stopped it; the caller then composes
// the whole picture,
// and the loader or the codec says what is wrong. A failure to write is a failure.
Result<bool> WriteStreamedComposite(RowReader& rows, const ComposeBand& compose, const QString& name,
                                    SaveFormat format, const SaveOptions& options,
                                    const PictureMetadata& metadata = {}, Existing existing = Existing::Replace);
