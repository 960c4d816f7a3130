#include "batch/BatchPlacement.h"

#include "base/Rounding.h"
#include "codec/PictureLimit.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

// Digits with at most one decimal point between them, and at most 9 before it.
std::optional<double> Decimal(QStringView text)
{
    const qsizetype point = text.indexOf(u'.');
    const QStringView whole = point < 0 ? text : text.first(point);
    const QStringView fraction = point < 0 ? QStringView() : text.sliced(point + 1);
    if (whole.isEmpty() || whole.size() > 9 || (point >= 0 && fraction.isEmpty()))
        return std::nullopt;
    for (const QStringView part : {whole, fraction})
        for (const QChar c : part)
            if (c < u'0' || c > u'9')
                return std::nullopt;
    return text.toDouble();
}

std::optional<Length> LengthOf(QStringView text)
{
    const bool percent = text.endsWith(u'%');
    const auto value = Decimal(percent ? text.chopped(1) : text);
    if (!value || (percent ? *value > 100 : std::floor(*value) != *value))
        return std::nullopt;
    return Length{*value, percent};
}

std::int64_t Pixels(const Length& length, int side)
{
    return length.percent ? RoundToInt32(length.value * side / 100) : std::int64_t(length.value);
}

// Where a foreground of `front` pixels starts along a side of `side` pixels: at the near
// edge (0), centred (1) or at the far edge (2).
std::int64_t Along(int third, int front, int side, const Length& margin)
{
    switch (third) {
    case 0: return Pixels(margin, side);
    case 1: return std::int64_t(std::floor((side - front) / 2.0));
    default: return side - front - Pixels(margin, side);
    }
}

std::int32_t Saturated(std::int64_t value)
{
    return std::int32_t(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

std::optional<Gravity> GravityNamed(QStringView name)
{
    constexpr const char16_t* kNames[] = {u"nw", u"n", u"ne", u"w", u"c", u"e", u"sw", u"s", u"se"};
    for (std::size_t i = 0; i < std::size(kNames); ++i)
        if (name.compare(QStringView(kNames[i]), Qt::CaseInsensitive) == 0)
            return Gravity(i);
    return std::nullopt;
}

std::optional<Margin> MarginOf(QStringView text)
{
    const qsizetype comma = text.indexOf(u',');
    if (comma < 0)
        return std::nullopt;
    const auto x = LengthOf(text.first(comma)), y = LengthOf(text.sliced(comma + 1));
    if (!x || !y)
        return std::nullopt;
    return Margin{*x, *y};
}

std::optional<ForegroundScale> ScaleOf(QStringView text)
{
    if (const qsizetype times = text.indexOf(u'x'); times >= 0) {
        const auto w = Decimal(text.first(times)), h = Decimal(text.sliced(times + 1));
        if (!w || !h || *w < 1 || *h < 1 || *w > kMaxPictureSide || *h > kMaxPictureSide
            || std::floor(*w) != *w || std::floor(*h) != *h)
            return std::nullopt;
        return ForegroundScale{0, QSize(int(*w), int(*h))};
    }
    const auto percent = Decimal(text);
    if (!percent || *percent <= 0 || *percent > 100)
        return std::nullopt;
    return ForegroundScale{*percent, QSize()};
}

QSize ScaledFrontSize(QSize front, QSize background, const ForegroundScale& scale)
{
    double factor = scale.percent > 0
                        ? background.width() * scale.percent / 100 / front.width()
                        : std::min(double(scale.box.width()) / front.width(),
                                   double(scale.box.height()) / front.height());
    // A very thin foreground scaled to a wide background could pass the picture limit.
    const double pixels = double(front.width()) * front.height() * factor * factor;
    if (pixels > double(kMaxPicturePixels))
        factor *= std::sqrt(double(kMaxPicturePixels) / pixels);
    const auto side = [factor](int length) {
        return std::clamp<std::int32_t>(RoundToInt32(length * factor), 1, std::int32_t(kMaxPictureSide));
    };
    QSize size(side(front.width()), side(front.height()));
    while (!PictureSizeAllowed(size.width(), size.height()))   // rounding up may pass it by a row
        size.width() > size.height() ? size.rwidth()-- : size.rheight()--;
    return size;
}

QPoint PlacedCorner(QSize front, QSize background, Gravity gravity, const Margin& margin)
{
    const int column = int(gravity) % 3, row = int(gravity) / 3;
    return {Saturated(Along(column, front.width(), background.width(), margin.x)),
            Saturated(Along(row, front.height(), background.height(), margin.y))};
}
