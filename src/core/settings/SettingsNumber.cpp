#include "core/settings/SettingsNumber.h"

namespace {

// Above this a magnitude is an overflow for any range the settings use, and the digits can
// still be accumulated without wrapping.
constexpr std::uint64_t MagnitudeCap = std::uint64_t(1) << 62;

bool AllDigits(QStringView text)
{
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// Whether the fraction digits `fraction` (the part after '.') carry `magnitude` up by one.
bool RoundsUp(QStringView fraction, std::uint64_t magnitude)
{
    if (fraction.isEmpty())
        return false;
    if (fraction[0] != u'5')
        return fraction[0] > u'5';
    for (QChar c : fraction.sliced(1)) {
        if (c != u'0')
            return true;
    }
    return magnitude % 2 == 1;
}

const Failure TypeMismatch{"type mismatch", "数値ではありません (型が一致しません)"};
const Failure Overflow{"overflow", "値が範囲を超えています (オーバーフロー)"};

} // namespace

Result<std::int64_t> ParseSettingsNumber(QStringView text, std::int64_t minimum,
                                         std::int64_t maximum)
{
    QStringView number = text.trimmed();
    const bool negative = number.startsWith(u'-');
    if (negative || number.startsWith(u'+'))
        number = number.sliced(1);

    const qsizetype dot = number.indexOf(u'.');
    const QStringView whole = dot < 0 ? number : number.first(dot);
    const QStringView fraction = dot < 0 ? QStringView() : number.sliced(dot + 1);
    if ((whole.isEmpty() && fraction.isEmpty()) || !AllDigits(whole) || !AllDigits(fraction))
        return TypeMismatch;

    std::uint64_t magnitude = 0;
    for (QChar c : whole) {
        magnitude = magnitude * 10 + std::uint64_t(c.unicode() - u'0');
        if (magnitude > MagnitudeCap)
            return Overflow;
    }
    if (RoundsUp(fraction, magnitude))
        ++magnitude;

    const std::int64_t value = negative ? -std::int64_t(magnitude) : std::int64_t(magnitude);
    if (value < minimum || value > maximum)
        return Overflow;
    return value;
}
