#pragma once
// Saving a composite over a JPEG background as that very file with only the MCUs under the
// foreground encoded again (codec/JpegBlocks.h): the rest of the photo keeps its blocks, so
// it loses nothing. The JPEG rate does not apply; the background's own
// tables, sampling, progressive mode and markers (APPn, COM) are kept, but for its
// metadata, which is written as every saved composite writes it (codec/Metadata.h).
#include "base/ColorRef.h"
#include "base/Result.h"
#include "codec/JpegBlocks.h"
#include "codec/Metadata.h"
#include "files/SafeFile.h"

#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class CompositeTarget;
class Surface;

// Writes to `name` the background's file `background` with the MCUs that the foreground (in
// the background's pixels, where `place` puts it on a background of that size) touches
// encoded from what `compose` makes of them, and `metadata` in place of the file's own. False, with
// nothing written, when the blocks cannot be kept: the background does not load as a JPEG
// file (by its name or its content), is turned by its orientation tag, is not `size` (when
// given) or not a kind of JPEG whose blocks can be kept, or the foreground misses it; the
// caller then writes the composite whole. The failure of `compose` or of the write is a
// failure.
Result<bool> WriteStampedJpeg(const QString& background, std::optional<QSize> size,
                              const std::function<PixelRect(QSize)>& place, const ComposeRegion& compose,
                              const PictureMetadata& metadata, const QString& name,
                              Existing existing = Existing::Replace);

// Composes `front` at (frontX, frontY) of the background over `pixels`, the background's
// `region`, as ComposeImages does over the whole background, whose composite pixels each
// depend on the two pixels at their place alone. `back` and `view`'s board are its scratch.
Result<void> ComposeOverRegion(ColorRef key, std::int32_t keyTolerance, std::int32_t rate, std::int32_t frontX,
                               std::int32_t frontY, Surface& front, Surface& back, CompositeTarget& view,
                               const PixelRect& region, CodecSurface& pixels);
