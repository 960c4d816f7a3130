#pragma once
// A JPEG file's metadata segments, which stand right after its SOI and JFIF APP0.
#include "codec/Metadata.h"
#include "files/SafeFile.h"

#include <cstdint>
#include <span>
#include <vector>

// APP1 "Exif", APP2 "ICC_PROFILE" in as many chunks of at most 65519 bytes as the profile
// takes, and APP1 XMP, left out when it is larger than one segment holds. Empty for none.
std::vector<std::uint8_t> JpegMetadataSegments(const PictureMetadata& metadata);

// Puts `segments` into the file whose first piece begins with SOI (and JFIF APP0): the
// piece is split after them. Nothing changes for no segments.
void InsertAfterApp0(std::vector<ByteRange>& pieces, std::span<const std::uint8_t> segments);

// Replaces the metadata segments of the JPEG file `file` (the APP1 "Exif" and XMP and the
// APP2 "ICC_PROFILE" before its frame) with those of `metadata`, placed as a written file
// has them; every other byte stays. `file` may be the file's head alone, up to its scan.
void ReplaceJpegMetadata(std::vector<std::uint8_t>& file, const PictureMetadata& metadata);
