#pragma once
// What a photo says of itself beside its pixels: its EXIF (camera, date, exposure), its
// colour profile and its XMP. A composite saved as JPEG or PNG carries its background's.
// Each is read with a hard cap, so a forged file costs no more than the caps; one that
// cannot be read whole, or is larger than its cap, is left out alone.
#include "codec/ReadAt.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct PictureMetadata {
    // The EXIF's TIFF structure, from its byte-order mark "II" or "MM" on, made to describe
    // pixels shown as they stand (UprightExif).
    std::vector<std::uint8_t> exif;
    // A profile of RGB colours, and the name a PNG file gave it (none from a JPEG file).
    std::vector<std::uint8_t> icc;
    std::string iccName;
    // The XMP packet, UTF-8 text.
    std::string xmp;

    bool empty() const { return exif.empty() && icc.empty() && xmp.empty(); }
    bool operator==(const PictureMetadata&) const = default;
};

// The caps. The EXIF is what one JPEG APP1 segment holds after its "Exif\0\0", so it fits
// every file it is written to.
inline constexpr std::size_t kMaxExifBytes = 65527;
inline constexpr std::size_t kMaxIccBytes = std::size_t{4} << 20;
inline constexpr std::size_t kMaxXmpBytes = std::size_t{1} << 20;

// The metadata of the JPEG or PNG file `source` as a composite on its picture keeps it; none
// of a file of another kind. JPEG: the first APP1 "Exif", the APP2 "ICC_PROFILE" chunks (all
// of them, each once) and the first APP1 XMP before the first scan. PNG: eXIf, iCCP and the
// iTXt keyword "XML:com.adobe.xmp", chunks whose CRC is right, up to IEND. The pictures are
// the program's own upright ones (Qt turns a JPEG by its EXIF orientation), so the EXIF and
// the XMP are made to say so (UprightExif, UprightXmp), and a profile of other than RGB
// colours (a grey or CMYK photo's) is left out, the composite being RGB.
PictureMetadata ReadPictureMetadata(const ByteSource& source);

// The EXIF `tiff` (a TIFF structure, either byte order) for pixels shown as they stand:
// Orientation, where IFD0 has it, is 1, and IFD1 is dropped, so no stale thumbnail survives:
// unlinked, cut off where it lies beyond everything else, else its picture's bytes are zeroed.
// Every other tag stays, byte for byte. std::nullopt when IFD0 does not lie within the bytes.
// Every offset is checked against the bytes before it is followed.
std::optional<std::vector<std::uint8_t>> UprightExif(std::span<const std::uint8_t> tiff);
// The XMP packet with its tiff:Orientation, attribute or element, made 1.
std::string UprightXmp(std::string xmp);
