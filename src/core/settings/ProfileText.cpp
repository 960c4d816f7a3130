#include "core/settings/ProfileText.h"

#include "core/settings/ShiftJis.h"

#include <QAnyStringView>
#include <QStringDecoder>

namespace {

const QByteArrayView ByteOrderMark("\xEF\xBB\xBF");

// One line of the file as byte offsets: its text runs from `begin` to `end`, its line end
// ("\r\n", "\n", or none for a last line without one) from `end` to `next`.
struct Line {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

// The lines of a file one after the other, without copying them: a file of many megabytes is
// read as fast as it can be scanned.
class Lines {
public:
    explicit Lines(QByteArrayView content)
        : content_(content), next_(content.startsWith(ByteOrderMark) ? ByteOrderMark.size() : 0)
    {
    }
    bool Next(Line& line)
    {
        if (next_ >= content_.size())
            return false;
        const qsizetype newline = content_.indexOf('\n', next_);
        line.begin = next_;
        if (newline < 0) {
            line.end = line.next = content_.size();
        } else {
            const bool crlf = newline > line.begin && content_[newline - 1] == '\r';
            line.end = crlf ? newline - 1 : newline;
            line.next = newline + 1;
        }
        next_ = line.next;
        return true;
    }

private:
    QByteArrayView content_;
    qsizetype next_;
};

// The line end of the file's first line that has one; "\n" in a file without.
QByteArray FileLineEnd(QByteArrayView content)
{
    const qsizetype newline = content.indexOf('\n');
    return newline > 0 && content[newline - 1] == '\r' ? "\r\n" : "\n";
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Only spaces and tabs: an ideographic space at the end of a picture name is part of the name.
QByteArrayView TrimBlanks(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

// A value as UTF-8 when it is valid UTF-8, otherwise as the earlier program wrote it, in
// Shift-JIS.
QString DecodeValue(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    return utf8.hasError() ? DecodeShiftJis(bytes) : text;
}

enum class LineKind { Other, Section, Entry };

// Names and values point into the file's bytes, values as written, without the blanks
// around them.
struct ParsedLine {
    LineKind kind = LineKind::Other;
    QByteArrayView name;
    QByteArrayView value;
};

ParsedLine ParseLine(QByteArrayView text)
{
    text = TrimBlanks(text);
    if (text.isEmpty() || text.startsWith(';') || text.startsWith('#'))
        return {};
    if (text.startsWith('[')) {
        const qsizetype close = text.indexOf(']');
        if (close < 0)
            return {};
        return {LineKind::Section, TrimBlanks(text.sliced(1, close - 1)), {}};
    }
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return {};
    return {LineKind::Entry, TrimBlanks(text.first(equals)), TrimBlanks(text.sliced(equals + 1))};
}

ParsedLine ParseLine(QByteArrayView content, const Line& line)
{
    return ParseLine(content.sliced(line.begin, line.end - line.begin));
}

bool SameName(QByteArrayView name, const QString& wanted)
{
    return QAnyStringView::compare(QUtf8StringView(name), wanted, Qt::CaseInsensitive) == 0;
}

// The first section called `section`: its header line, its last key line (the header when it
// has none) and the first line holding `key`, each found or not.
struct Location {
    bool header = false;
    bool key = false;
    Line lastEntry;
    Line keyLine;
};

Location Locate(QByteArrayView content, const QString& section, const QString& key)
{
    Location found;
    Lines lines(content);
    for (Line line; lines.Next(line);) {
        const ParsedLine parsed = ParseLine(content, line);
        if (parsed.kind == LineKind::Section) {
            if (found.header)
                break;
            if (SameName(parsed.name, section)) {
                found.header = true;
                found.lastEntry = line;
            }
        } else if (parsed.kind == LineKind::Entry && found.header) {
            found.lastEntry = line;
            if (!found.key && SameName(parsed.name, key)) {
                found.key = true;
                found.keyLine = line;
            }
        }
    }
    return found;
}

// `content` with its bytes from `from` to `to` replaced by `replacement`, copied once: a
// settings file can be large.
QByteArray Splice(QByteArrayView content, qsizetype from, qsizetype to, QByteArrayView replacement)
{
    QByteArray result;
    result.reserve(content.size() - (to - from) + replacement.size());
    result.append(content.first(from)).append(replacement).append(content.sliced(to));
    return result;
}

// `content` with `lines` (each ending in `end`) put in after `after`, the last line of the
// file or of a section; a last line without a line end gets one first.
QByteArray InsertAfter(const QByteArray& content, const Line& after, const QByteArray& lines,
                       const QByteArray& end)
{
    const QByteArray missingEnd = after.next == after.end ? end : QByteArray();
    return Splice(content, after.next, after.next, missingEnd + lines);
}

bool HasLineBreak(const QString& text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

bool IsStorableName(const QString& name)
{
    return !name.isEmpty() && !IsBlank(name.front()) && !IsBlank(name.back())
        && !HasLineBreak(name);
}

} // namespace

std::optional<QString> FindProfileValue(const QByteArray& content, const QString& section,
                                        const QString& key)
{
    const Location found = Locate(content, section, key);
    if (!found.key)
        return std::nullopt;
    return DecodeValue(ParseLine(content, found.keyLine).value);
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
    const QByteArray end = FileLineEnd(content);
    const Location found = Locate(content, section, key);
    if (found.key) {
        const Line& line = found.keyLine;
        const ParsedLine entry = ParseLine(content, line);
        // A value read from the file and set again unchanged keeps its bytes, whatever their
        // encoding: one that is neither UTF-8 nor Shift-JIS would not survive its text.
        const QByteArray bytes =
            DecodeValue(entry.value) == value ? entry.value.toByteArray() : value.toUtf8();
        return Splice(content, line.begin, line.end, entry.name.toByteArray() + '=' + bytes);
    }
    const QByteArray entryLine = (key + u'=' + value).toUtf8() + end;
    if (found.header)
        return InsertAfter(content, found.lastEntry, entryLine, end);
    const QByteArray sectionLines = (u'[' + section + u']').toUtf8() + end + entryLine;
    const bool hasLines =
        content.size() > (content.startsWith(ByteOrderMark) ? ByteOrderMark.size() : 0);
    const QByteArray missingEnd = hasLines && !content.endsWith('\n') ? end : QByteArray();
    return Splice(content, content.size(), content.size(), missingEnd + sectionLines);
}
