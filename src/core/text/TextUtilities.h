#pragma once
// The text helpers the settings and the dialogs share.
#include <QString>
#include <cstdint>

// Field n (counted from 1) of a text whose fields are parted by `separator`: field 1 is
// the text before the first separator (the whole text when there is none), field 2 the
// text between the first and the second, and so on. A number of 1 or less gives field 1;
// a number beyond the last field gives the empty text.
QString GetField(const QString& text, std::int16_t n, const QString& separator);

// `path` with a folder separator '/' at its end (unchanged if it already ends in one).
QString AddBackslash(const QString& path);

// The part of `text` before its first NUL character; all of it when it has none.
QString TrimAtNul(const QString& text);
