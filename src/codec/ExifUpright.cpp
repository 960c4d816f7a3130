// The EXIF rewritten for pixels that are already upright. The TIFF structure is walked only
// as far as its standard tree goes (IFD0, its Exif and GPS IFDs, the Exif IFD's interoperability
// IFD), so the walk ends after four IFDs whatever the offsets say.
#include "codec/Metadata.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace {
constexpr std::uint16_t kOrientation = 0x0112, kExifIfd = 0x8769, kGpsIfd = 0x8825,
                        kInteropIfd = 0xA005, kThumbnailAt = 0x0201, kThumbnailBytes = 0x0202;

// Bytes of one value of each TIFF field type; 0 for a type TIFF does not define.
std::uint64_t TypeBytes(std::uint32_t type)
{
    switch (type) {
    case 1: case 2: case 6: case 7: return 1;
    case 3: case 8: return 2;
    case 4: case 9: case 11: case 13: return 4;
    case 5: case 10: case 12: return 8;
    default: return 0;
    }
}

class Tiff {
public:
    explicit Tiff(std::vector<std::uint8_t>& bytes)
        : bytes_(bytes), motorola_(bytes.size() >= 2 && bytes[0] == 'M')
    {
    }

    bool Holds(std::uint64_t at, std::uint64_t count) const
    {
        return at <= bytes_.size() && count <= bytes_.size() - at;
    }
    // The callers have checked that the bytes lie within.
    std::uint32_t U16(std::uint64_t at) const
    {
        const std::uint32_t a = bytes_[at], b = bytes_[at + 1];
        return motorola_ ? a << 8 | b : b << 8 | a;
    }
    std::uint32_t U32(std::uint64_t at) const
    {
        return motorola_ ? U16(at) << 16 | U16(at + 2) : U16(at + 2) << 16 | U16(at);
    }
    void Put16(std::uint64_t at, std::uint32_t value)
    {
        bytes_[at + (motorola_ ? 1 : 0)] = std::uint8_t(value);
        bytes_[at + (motorola_ ? 0 : 1)] = std::uint8_t(value >> 8);
    }
    void Put32(std::uint64_t at, std::uint32_t value)
    {
        Put16(at + (motorola_ ? 2 : 0), value & 0xFFFF);
        Put16(at + (motorola_ ? 0 : 2), value >> 16);
    }

    // The end of the IFD at `at` (its count, entries and next-IFD offset), or 0 when it does
    // not lie within the bytes.
    std::uint64_t IfdEnd(std::uint64_t at) const
    {
        if (at < 8 || !Holds(at, 2))
            return 0;
        const std::uint64_t end = at + 2 + 12 * std::uint64_t{U16(at)} + 4;
        return Holds(at, end - at) ? end : 0;
    }
    // The entry of `tag` in the IFD at `at` (whose end is known), or 0.
    std::uint64_t Entry(std::uint64_t at, std::uint16_t tag) const
    {
        for (std::uint64_t i = 0, entry = at + 2; i < U16(at); ++i, entry += 12)
            if (U16(entry) == tag)
                return entry;
        return 0;
    }
    // The end of the IFD at `at` and of everything it points to, following the sub-IFDs of the
    // tags in `subIfds`; 0 when the IFD does not lie within the bytes. A value that does not
    // lie within is no one's to keep. Adds the IFDs found (from, to) to `ifds`.
    std::uint64_t UsedEnd(std::uint64_t at, std::initializer_list<std::uint16_t> subIfds,
                          std::vector<std::pair<std::uint64_t, std::uint64_t>>& ifds) const
    {
        std::uint64_t used = IfdEnd(at);
        if (used != 0)
            ifds.emplace_back(at, used);
        for (std::uint64_t i = 0, entry = at + 2; used != 0 && i < U16(at); ++i, entry += 12) {
            const std::uint32_t tag = U16(entry);
            const std::uint64_t bytes = TypeBytes(U16(entry + 2)) * U32(entry + 4);
            if (bytes > 4 && Holds(U32(entry + 8), bytes))
                used = std::max(used, U32(entry + 8) + bytes);
            if (std::find(subIfds.begin(), subIfds.end(), tag) != subIfds.end())
                used = std::max(used, tag == kExifIfd ? UsedEnd(U32(entry + 8), {kInteropIfd}, ifds)
                                                      : UsedEnd(U32(entry + 8), {}, ifds));
        }
        return used;
    }

private:
    std::vector<std::uint8_t>& bytes_;
    bool motorola_;
};
} // namespace

std::optional<std::vector<std::uint8_t>> UprightExif(std::span<const std::uint8_t> tiff)
{
    std::vector<std::uint8_t> bytes(tiff.begin(), tiff.end());
    Tiff t(bytes);
    const bool marked = bytes.size() >= 8 && bytes[0] == bytes[1] && (bytes[0] == 'I' || bytes[0] == 'M');
    if (!marked || t.U16(2) != 42)
        return std::nullopt;
    const std::uint32_t ifd0 = t.U32(4);
    if (t.IfdEnd(ifd0) == 0)
        return std::nullopt;
    if (const std::uint64_t orientation = t.Entry(ifd0, kOrientation)) {
        t.Put16(orientation + 2, 3);   // one SHORT
        t.Put32(orientation + 4, 1);
        t.Put32(orientation + 8, 0);
        t.Put16(orientation + 8, 1);
    }
    const std::uint64_t next = t.IfdEnd(ifd0) - 4;
    const std::uint32_t ifd1 = t.U32(next);
    t.Put32(next, 0);
    // Walked after those changes, which a forged IFD lying over IFD0 may see.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> ifds{{0, 8}};   // the header too
    const std::uint64_t used = t.UsedEnd(ifd0, {kExifIfd, kGpsIfd}, ifds);
    // A thumbnail lying among what stays is zeroed (unless a forged one lies over the header or
    // an IFD); beyond it, it is cut off with the rest.
    if (t.IfdEnd(ifd1) != 0) {
        const std::uint64_t at = t.Entry(ifd1, kThumbnailAt), count = t.Entry(ifd1, kThumbnailBytes);
        const std::uint64_t from = at ? t.U32(at + 8) : 0, to = count ? from + t.U32(count + 8) : 0;
        const bool overlaps = std::any_of(ifds.begin(), ifds.end(),
                                          [from, to](const auto& ifd) { return from < ifd.second && ifd.first < to; });
        if (from < used && to > from && !overlaps)
            std::fill(bytes.begin() + std::ptrdiff_t(from), bytes.begin() + std::ptrdiff_t(std::min(to, used)), 0);
    }
    bytes.resize(used);
    return bytes;
}

std::string UprightXmp(std::string xmp)
{
    for (const std::string_view opening : {"tiff:Orientation=\"", "tiff:Orientation='", "<tiff:Orientation>"})
        for (std::size_t at = xmp.find(opening); at != std::string::npos; at = xmp.find(opening, at + 1))
            if (const std::size_t value = at + opening.size(); value < xmp.size() && xmp[value] >= '2' && xmp[value] <= '8')
                xmp[value] = '1';
    return xmp;
}
