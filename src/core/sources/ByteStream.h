#pragma once
#include <QByteArray>
#include <QIODevice>
#include <cstdint>

// Reads a file front to back through a small buffer, so that a check of a large file's
// structure takes little memory. Positions are byte offsets from the start of the device.
class ByteStream {
public:
    explicit ByteStream(QIODevice& device);

    qint64 Size() const { return size_; }
    qint64 Position() const { return bufferStart_ + at_; }
    // The next byte, or -1 at the end of the file or on a read error.
    int Next()
    {
        if (at_ == buffer_.size() && !Refill())
            return -1;
        return static_cast<std::uint8_t>(buffer_[at_++]);
    }
    // Moves up to the next `byte` (Next() then returns it), adding the count of bytes passed
    // to `passed`; false when the file ends first.
    bool SkipTo(std::uint8_t byte, std::int64_t& passed);
    // Reads `count` bytes into `out`; false when the file ends first.
    bool Read(std::uint8_t* out, qint64 count);
    // Moves to `position`; false when it lies beyond the end of the file.
    bool Seek(qint64 position);
    bool Skip(qint64 count) { return count >= 0 && Seek(Position() + count); }

private:
    bool Refill();

    QIODevice& device_;
    qint64 size_;
    QByteArray buffer_;
    qsizetype at_ = 0;
    qint64 bufferStart_ = 0;
    qint64 blockBytes_;
};

inline std::uint16_t LittleEndian16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}
inline std::uint32_t LittleEndian32(const std::uint8_t* at)
{
    return at[0] | at[1] << 8 | at[2] << 16 | std::uint32_t{at[3]} << 24;
}
inline std::uint16_t BigEndian16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] << 8 | at[1]);
}
