#include "core/sources/ByteStream.h"

#include <cstring>

namespace {
// Blocks grow from the first to the last size while the file is read front to back, so that
// a check that jumps about (an icon's directory) reads little at each place it visits.
constexpr qint64 kFirstBlockBytes = 4096;
constexpr qint64 kLastBlockBytes = 65536;
} // namespace

ByteStream::ByteStream(QIODevice& device)
    : device_(device), size_(device.size()), bufferStart_(device.pos()), blockBytes_(kFirstBlockBytes)
{
}

bool ByteStream::Refill()
{
    bufferStart_ += at_;
    at_ = 0;
    // The buffer is read into again rather than made anew, which a large file would do
    // thousands of times.
    buffer_.resize(blockBytes_);
    const qint64 got = device_.read(buffer_.data(), blockBytes_);
    buffer_.resize(std::max<qint64>(got, 0));
    blockBytes_ = std::min(blockBytes_ * 2, kLastBlockBytes);
    return !buffer_.isEmpty();
}

bool ByteStream::SkipTo(std::uint8_t byte, std::int64_t& passed)
{
    for (;;) {
        if (at_ == buffer_.size() && !Refill())
            return false;
        const char* from = buffer_.constData() + at_;
        const qsizetype left = buffer_.size() - at_;
        const auto* found = static_cast<const char*>(std::memchr(from, byte, std::size_t(left)));
        const qsizetype part = found != nullptr ? found - from : left;
        passed += part;
        at_ += part;
        if (found != nullptr)
            return true;
    }
}

bool ByteStream::Read(std::uint8_t* out, qint64 count)
{
    while (count > 0) {
        if (at_ == buffer_.size() && !Refill())
            return false;
        const qsizetype part = std::min<qint64>(count, buffer_.size() - at_);
        std::copy_n(buffer_.constData() + at_, part, reinterpret_cast<char*>(out));
        at_ += part;
        out += part;
        count -= part;
    }
    return true;
}

bool ByteStream::Seek(qint64 position)
{
    if (position < 0 || position > size_)
        return false;
    if (position >= bufferStart_ && position <= bufferStart_ + buffer_.size()) {
        at_ = position - bufferStart_;
        return true;
    }
    if (!device_.seek(position))
        return false;
    buffer_.clear();
    bufferStart_ = position;
    at_ = 0;
    blockBytes_ = kFirstBlockBytes;
    return true;
}
