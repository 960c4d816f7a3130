// The settings file from any bytes: reading never crashes, the rate lies within 0 to 100, and
// the values read, written back into the same bytes, read the same again.
#include "core/settings/ProfileText.h"
#include "core/settings/Settings.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = QStringLiteral("/fuzzed/Layerpix.ini");
    const Result<SettingsRecord> read = ReadSettings(content, path);
    if (!read)
        return 0;
    if (read->TransRate < 0 || read->TransRate > 100)
        std::abort();
    const std::pair<const char*, QString> values[] = {
        {"Front", read->Front}, {"Back", read->Back}, {"TransColor", QString::number(read->TransColor)},
        {"TransRate", QString::number(read->TransRate)}};
    for (const auto& [key, value] : values) {
        const QString section = QString::fromLatin1(key).startsWith(u"Trans") ? QStringLiteral("Param")
                                                                              : QStringLiteral("Image");
        // The blanks around a value are the file's layout, not the value's.
        const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
        const bool blankAround = !value.isEmpty() && (blank(value.front()) || blank(value.back()));
        if (blankAround || !IsStorableProfileEntry(section, QString::fromLatin1(key), value))
            return 0;
        content = SetProfileValue(content, section, QString::fromLatin1(key), value);
    }
    const Result<SettingsRecord> again = ReadSettings(content, path);
    if (!again || again->Front != read->Front || again->Back != read->Back ||
        again->TransColor != read->TransColor || again->TransRate != read->TransRate)
        std::abort();
    return 0;
}
