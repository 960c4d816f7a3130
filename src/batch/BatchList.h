#pragma once
// The lists of backgrounds that --list reads, one name a line.
#include "base/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstddef>

// The longest line a list may hold: a path of the system's largest size. A longer one is no
// file name, and stops a list that is no list (a device, a picture) at once.
inline constexpr qsizetype kMaxListLine = 4096;
// The most names a list may give: far beyond any folder of photos, and a bound on the memory a
// list that never ends can take.
inline constexpr std::size_t kMaxListNames = 1'000'000;

// Reads a list as its bytes arrive: the non-empty lines, a trailing CR dropped, each a file
// name in the system's bytes (DecodeFileName, core/text/FileNames.h). Fails, naming the list
// and the line, at a line longer than kMaxListLine or holding a NUL byte, or beyond
// kMaxListNames names.
class ListReader {
public:
    explicit ListReader(QString list) : list_(std::move(list)) {}

    Result<void> Add(QByteArrayView bytes);
    // The names, once the last bytes have arrived.
    Result<QStringList> Finish();

private:
    Result<void> Line(QByteArrayView line);

    QString list_;
    QByteArray pending_;
    std::size_t lines_ = 0;
    QStringList names_;
};

// The list `list`, "-" for standard input: a plain file or a pipe, read as ListReader reads.
Result<QStringList> ReadList(const QString& list);
