#pragma once
// The profile (INI) format as text: a section name in square brackets, then "key=value" lines.
// These functions work on the bytes of a whole file, so an edit keeps every line it does not
// touch byte for byte, whatever encoding a hand-written line is in. Names are UTF-8. Values are
// written as UTF-8 and read as UTF-8, or as Shift-JIS (CP932) when they are not valid UTF-8,
// as the earlier program wrote them.
//
// Reading rules:
// - section and key names match without regard to letter case;
// - blanks (spaces and tabs) around names and values are ignored;
// - a line whose first non-blank character is ';' or '#' is a comment;
// - lines before the first section and lines without '=' are ignored;
// - of repeated sections, and of repeated keys within one, the first counts;
// - LF and CRLF line ends and a leading UTF-8 byte-order mark are accepted.
#include <QByteArray>
#include <QString>
#include <optional>

// The value of `key` in `section` of `content`; std::nullopt when the section or the key is
// absent. A key present with nothing after '=' gives an empty text.
std::optional<QString> FindProfileValue(const QByteArray& content, const QString& section,
                                        const QString& key);

// Whether `value` can be stored under `key` in `section` and found there again: names are not
// empty, have no blanks at either end and no line break; a section name holds no ']'; a key
// holds no '=' and does not start with '[', ';' or '#'; the value holds no line break.
bool IsStorableProfileEntry(const QString& section, const QString& key, const QString& value);

// `content` with `key` in `section` set to `value`. Precondition: IsStorableProfileEntry.
// An existing key keeps its spelling and its line end and gets the new value in place; when it
// already reads as `value`, its value keeps its bytes, so a value the program did not change
// is never written in another encoding. A new key
// goes right after the last key line of the section (or its header line); a new section goes at
// the end of the file. New lines end as the file's first line end does (LF in a file without).
QByteArray SetProfileValue(const QByteArray& content, const QString& section, const QString& key,
                           const QString& value);
