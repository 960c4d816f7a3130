#pragma once
// Conversion of the numeric values of the settings file to integers.
#include "base/Result.h"

#include <QStringView>
#include <cstdint>

// Converts `text` to an integer within [minimum, maximum].
// Accepted: blanks, an optional '+' or '-', ASCII decimal digits with an optional fraction after
// a '.' ("75", "-1", "75.5", ".5", "3."), blanks. A fraction rounds the number to the nearest
// integer, halves to the even neighbour (50.5 -> 50, 51.5 -> 52, -0.5 -> 0), exactly on the
// digits as written, before the range check (32767.5 does not fit 16 bits).
// Empty text and anything else (exponents, hexadecimal, digit grouping, a decimal comma) fail
// as a type mismatch; a rounded value outside the range fails as an overflow.
// Precondition: minimum <= 0 <= maximum.
Result<std::int64_t> ParseSettingsNumber(QStringView text, std::int64_t minimum,
                                         std::int64_t maximum);
