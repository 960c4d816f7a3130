#include "platform/ProfileText.h"

#include <QList>

namespace {

const QByteArray ByteOrderMark("\xEF\xBB\xBF");

// The file cut into lines, each kept with its own line end ("\r\n", "\n", or none for a last
// line without one), so that joining them gives the file back unchanged.
struct ProfileLines {
    bool byteOrderMark = false;
    QList<QByteArray> raw;
};

ProfileLines SplitLines(QByteArray content)
{
    ProfileLines lines;
    if (content.startsWith(ByteOrderMark)) {
        lines.byteOrderMark = true;
        content.remove(0, ByteOrderMark.size());
    }
    qsizetype start = 0;
    while (start < content.size()) {
        const qsizetype newline = content.indexOf('\n', start);
        const qsizetype end = newline < 0 ? content.size() : newline + 1;
        lines.raw.append(content.mid(start, end - start));
        start = end;
    }
    return lines;
}

QByteArray JoinLines(const ProfileLines& lines)
{
    QByteArray content = lines.byteOrderMark ? ByteOrderMark : QByteArray();
    for (const QByteArray& line : lines.raw)
        content += line;
    return content;
}

QByteArray LineEnd(const QByteArray& line)
{
    if (line.endsWith("\r\n"))
        return "\r\n";
    return line.endsWith('\n') ? "\n" : "";
}

QByteArray FileLineEnd(const ProfileLines& lines)
{
    for (const QByteArray& line : lines.raw) {
        const QByteArray end = LineEnd(line);
        if (!end.isEmpty())
            return end;
    }
    return "\n";
}

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Only spaces and tabs: an ideographic space at the end of a picture name is part of the name.
QString TrimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin).toString();
}

enum class LineKind { Other, Section, Entry };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    QString name;
    QString value;
};

ParsedLine ParseLine(const QByteArray& raw)
{
    const QByteArray end = LineEnd(raw);
    const QString text = TrimBlanks(QString::fromUtf8(raw.chopped(end.size())));
    if (text.isEmpty() || text.startsWith(u';') || text.startsWith(u'#'))
        return {};
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close < 0)
            return {};
        return {LineKind::Section, TrimBlanks(QStringView(text).sliced(1, close - 1)), {}};
    }
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        return {};
    return {LineKind::Entry, TrimBlanks(QStringView(text).first(equals)),
            TrimBlanks(QStringView(text).sliced(equals + 1))};
}

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Line indexes of the first section called `section`: its header, its last key line (the header
// when it has none) and the first line holding `key`; -1 where there is none.
struct Location {
    qsizetype header = -1;
    qsizetype lastEntry = -1;
    qsizetype key = -1;
};

Location Locate(const ProfileLines& lines, const QString& section, const QString& key)
{
    Location found;
    for (qsizetype i = 0; i < lines.raw.size(); ++i) {
        const ParsedLine line = ParseLine(lines.raw[i]);
        if (line.kind == LineKind::Section) {
            if (found.header >= 0)
                break;
            if (SameName(line.name, section))
                found.header = found.lastEntry = i;
        } else if (line.kind == LineKind::Entry && found.header >= 0) {
            found.lastEntry = i;
            if (found.key < 0 && SameName(line.name, key))
                found.key = i;
        }
    }
    return found;
}

void InsertLine(ProfileLines& lines, qsizetype at, const QString& text, const QByteArray& end)
{
    if (at > 0 && LineEnd(lines.raw[at - 1]).isEmpty())
        lines.raw[at - 1] += end;
    lines.raw.insert(at, text.toUtf8() + end);
}

bool HasLineBreak(const QString& text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

bool IsStorableName(const QString& name)
{
    return !name.isEmpty() && TrimBlanks(name) == name && !HasLineBreak(name);
}

} // namespace

std::optional<QString> FindProfileValue(const QByteArray& content, const QString& section,
                                        const QString& key)
{
    const ProfileLines lines = SplitLines(content);
    const Location found = Locate(lines, section, key);
    if (found.key < 0)
        return std::nullopt;
    return ParseLine(lines.raw[found.key]).value;
}

bool IsStorableProfileEntry(const QString& section, const QString& key, const QString& value)
{
    return IsStorableName(section) && !section.contains(u']') && IsStorableName(key)
        && !key.contains(u'=') && !key.startsWith(u'[') && !key.startsWith(u';')
        && !key.startsWith(u'#') && !HasLineBreak(value);
}

QByteArray SetProfileValue(const QByteArray& content, const QString& section, const QString& key,
                           const QString& value)
{
    ProfileLines lines = SplitLines(content);
    const QByteArray end = FileLineEnd(lines);
    const Location found = Locate(lines, section, key);
    if (found.key >= 0) {
        QByteArray& line = lines.raw[found.key];
        const QString spelling = ParseLine(line).name;
        line = (spelling + u'=' + value).toUtf8() + LineEnd(line);
    } else if (found.header >= 0) {
        InsertLine(lines, found.lastEntry + 1, key + u'=' + value, end);
    } else {
        InsertLine(lines, lines.raw.size(), u'[' + section + u']', end);
        InsertLine(lines, lines.raw.size(), key + u'=' + value, end);
    }
    return JoinLines(lines);
}
