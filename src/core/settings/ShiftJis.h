#pragma once
// Text in Windows' Japanese code page, CP932 (Shift-JIS), as the earlier program wrote its
// settings file.
#include <QByteArrayView>
#include <QString>

// `bytes` read as CP932. A byte that starts no character there (or a lead byte cut off at the
// end) becomes one U+FFFD, and reading goes on with the next byte.
QString DecodeShiftJis(QByteArrayView bytes);
