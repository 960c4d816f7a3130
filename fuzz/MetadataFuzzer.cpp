// A photo's metadata read from any bytes, as JPEG, as PNG, and the EXIF rewritten: the caps
// hold, and a second rewrite changes nothing, so the first left a structure it can read.
#include "codec/Metadata.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static constexpr std::uint8_t kPng[8] = {137, 80, 78, 71, 13, 10, 26, 10}, kJpeg[2] = {0xFF, 0xD8};
    for (const std::span<const std::uint8_t> head : {std::span<const std::uint8_t>(kPng), std::span<const std::uint8_t>(kJpeg)}) {
        std::vector<std::uint8_t> file(head.begin(), head.end());
        file.insert(file.end(), data, data + size);
        const PictureMetadata metadata = ReadPictureMetadata(MemorySource(file.data(), file.size()));
        if (metadata.exif.size() > kMaxExifBytes || metadata.icc.size() > kMaxIccBytes
            || metadata.xmp.size() > kMaxXmpBytes)
            std::abort();
    }
    if (const auto exif = UprightExif({data, size}); exif && UprightExif(*exif) != exif)
        std::abort();
    return 0;
}
