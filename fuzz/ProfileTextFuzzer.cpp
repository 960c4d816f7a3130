// The settings file's text: reading any bytes, and setting an entry in them so that it reads
// back as set while every other entry keeps its value.
#include "core/settings/ProfileText.h"

#include <QByteArray>
#include <QString>
#include <cstdlib>

namespace {
const char* const kSections[] = {"Image", "Param", "JPEG", "PNG", "Options"};
const char* const kKeys[] = {"Front", "Back", "TransColor", "TransRate", "Rate", "Prgrs", "GIF"};

// Blanks around a value are not part of it when it is read.
QString WithoutBlanks(const QString& value)
{
    qsizetype begin = 0, end = value.size();
    while (begin < end && (value[begin] == u' ' || value[begin] == u'\t'))
        ++begin;
    while (end > begin && (value[end - 1] == u' ' || value[end - 1] == u'\t'))
        --end;
    return value.sliced(begin, end - begin);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    // The first byte picks the entry to set, the second splits the rest into the value and
    // the file's text.
    const QString section = QString::fromLatin1(kSections[data[0] % std::size(kSections)]);
    const QString key = QString::fromLatin1(kKeys[(data[0] >> 3) % std::size(kKeys)]);
    const std::size_t valueLength = std::min<std::size_t>(data[1], size - 2);
    const QString value = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(valueLength));
    const QByteArray content(reinterpret_cast<const char*>(data + 2 + valueLength),
                             qsizetype(size - 2 - valueLength));

    for (const char* s : kSections)
        for (const char* k : kKeys)
            FindProfileValue(content, QString::fromLatin1(s), QString::fromLatin1(k));
    if (!IsStorableProfileEntry(section, key, value))
        return 0;
    const QByteArray edited = SetProfileValue(content, section, key, value);
    if (FindProfileValue(edited, section, key) != WithoutBlanks(value))
        std::abort();
    for (const char* s : kSections)
        for (const char* k : kKeys) {
            const QString otherSection = QString::fromLatin1(s), otherKey = QString::fromLatin1(k);
            if (otherSection.compare(section, Qt::CaseInsensitive) == 0
                && otherKey.compare(key, Qt::CaseInsensitive) == 0)
                continue;
            if (FindProfileValue(edited, otherSection, otherKey)
                != FindProfileValue(content, otherSection, otherKey))
                std::abort();
        }
    return 0;
}
