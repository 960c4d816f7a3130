#pragma once
// Lets GoogleTest print Qt values readably when an assertion on them fails.
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
