#include "core/text/TextUtilities.h"

QString GetField(const QString& text, std::int16_t n, const QString& separator)
{
    if (separator.isEmpty())
        return n <= 1 ? text : QString();
    // Positions are counted from 0 here; each search starts one past the last find.
    qsizetype start = 0;
    for (int k = 2; k <= n; ++k) {
        const qsizetype found = text.indexOf(separator, start);
        if (found < 0)
            return QString();
        start = found + 1;
    }
    if (n >= 2)
        start += separator.size() - 1;
    const qsizetype end = text.indexOf(separator, start);
    if (end < 0)
        return text.mid(start);
    return text.mid(start, end - start);
}

QString AddBackslash(const QString& path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

QString TrimAtNul(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.first(nul);
}
