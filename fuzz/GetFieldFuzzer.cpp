// GetField on any text, field number and separator: the result is always a piece of the
// text, and the fields of a text without overlapping separators join back into it.
#include "core/text/TextUtilities.h"

#include <QString>
#include <QStringList>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const auto n = static_cast<std::int16_t>(data[0] | data[1] << 8);
    const std::size_t separatorLength = std::min<std::size_t>(data[2] % 4, size - 3);
    const QString separator =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 3), qsizetype(separatorLength));
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 3 + separatorLength),
                                           qsizetype(size - 3 - separatorLength));

    const QString field = GetField(text, n, separator);
    if (!text.contains(field))
        std::abort();
    // One-character separators cannot overlap: splitting and joining gives the text back.
    if (separator.size() == 1 && text.count(separator) < 200) {
        QStringList fields;
        for (std::int16_t k = 1; k <= text.count(separator) + 1; ++k)
            fields << GetField(text, k, separator);
        if (fields.join(separator) != text || !GetField(text, std::int16_t(fields.size() + 1), separator).isEmpty())
            std::abort();
    }
    return 0;
}
