#pragma once
// File names as the system gives them: bytes, usually UTF-8, but any bytes but '/' and NUL. Qt
// reads them as UTF-8 and loses the bytes that are not, so a name that is not UTF-8 could not
// be opened again. Here such a byte stands for itself in the text, as one of the lone
// surrogates U+DC80 to U+DCFF, which no UTF-8 text holds, and goes back to the same byte.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The name's text: valid UTF-8 decoded, every other byte b as U+DC00 + b.
QString DecodeFileName(QByteArrayView bytes);
// The bytes of a name DecodeFileName gave, exactly as they were; other text in UTF-8.
QByteArray EncodeFileName(const QString& name);

// The name for a terminal: its bytes, with control characters (which could move the cursor or
// change the terminal's state) and backslashes written as \xNN.
QByteArray PrintableFileName(const QString& name);
