#include "core/text/FileNames.h"

#include <cstdint>

namespace {
// The length of the valid UTF-8 sequence at `at`, 0 when the byte starts none (a stray
// continuation byte, an overlong form, a surrogate, beyond U+10FFFF or cut short).
int SequenceLength(QByteArrayView bytes, qsizetype at, char32_t& code)
{
    const auto byte = [&](qsizetype i) { return std::uint8_t(bytes[i]); };
    const std::uint8_t lead = byte(at);
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    const int length = lead >= 0xF8 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || at + length > bytes.size())
        return 0;
    code = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    constexpr char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}
} // namespace

QString DecodeFileName(QByteArrayView bytes)
{
    QString name;
    name.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        char32_t code = 0;
        if (const int length = SequenceLength(bytes, at, code)) {
            name += QString::fromUcs4(&code, 1);
            at += length;
        } else {
            name += QChar(char16_t(0xDC00 + std::uint8_t(bytes[at++])));
        }
    }
    return name;
}

QByteArray EncodeFileName(const QString& name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype at = 0; at < name.size(); ++at) {
        const char16_t unit = name[at].unicode();
        if (unit >= 0xDC80 && unit <= 0xDCFF) {
            bytes += char(unit - 0xDC00);
        } else if (QChar::isHighSurrogate(unit) && at + 1 < name.size() &&
                   name[at + 1].isLowSurrogate()) {
            bytes += name.sliced(at, 2).toUtf8();
            ++at;
        } else {
            bytes += QString(QChar(unit)).toUtf8();
        }
    }
    return bytes;
}

QByteArray PrintableFileName(const QString& name)
{
    QByteArray shown;
    for (const char byte : EncodeFileName(name)) {
        const auto value = std::uint8_t(byte);
        if (value < 0x20 || value == 0x7F || byte == '\\')
            shown += "\\x" + QByteArray::number(value, 16).rightJustified(2, '0');
        else
            shown += byte;
    }
    return shown;
}
