#include "core/settings/ShiftJis.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

QString DecodeShiftJis(QByteArrayView bytes)
{
    // Qt's converter for Shift_JIS (ICU underneath) turns broken sequences into U+001A and
    // swallows the byte after a bad lead byte; the C library's CP932 converter stops at each
    // one, so every byte that starts no character becomes exactly one U+FFFD.
    const iconv_t converter = ::iconv_open("UTF-8", "CP932");
    if (converter == iconv_t(-1))
        return QString::fromUtf8(bytes);
    // Every CP932 character, and every U+FFFD put for a byte, takes at most 3 bytes in UTF-8.
    QByteArray utf8(bytes.size() * 3, Qt::Uninitialized);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = std::size_t(bytes.size());
    char* out = utf8.data();
    std::size_t outLeft = std::size_t(utf8.size());
    while (inLeft > 0 && ::iconv(converter, &in, &inLeft, &out, &outLeft) == std::size_t(-1)) {
        if (errno != EILSEQ && errno != EINVAL)
            break;
        std::memcpy(out, "\xEF\xBF\xBD", 3);
        out += 3;
        outLeft -= 3;
        ++in;
        --inLeft;
        ::iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    ::iconv_close(converter);
    return QString::fromUtf8(utf8.constData(), out - utf8.constData());
}
