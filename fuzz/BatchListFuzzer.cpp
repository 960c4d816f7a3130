// A list of backgrounds from any bytes, arriving in pieces of any size (the first byte): every
// name is one line of at most kMaxListLine bytes without NUL, and its bytes come back whole.
#include "batch/BatchList.h"
#include "core/text/FileNames.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::size_t piece = std::size_t(data[0]) + 1;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    ListReader reader(QStringLiteral("fuzzed"));
    for (qsizetype at = 0; at < bytes.size(); at += qsizetype(piece))
        if (!reader.Add(bytes.sliced(at, std::min<qsizetype>(qsizetype(piece), bytes.size() - at))))
            return 0;
    const Result<QStringList> names = reader.Finish();
    if (!names)
        return 0;
    for (const QString& name : *names) {
        const QByteArray encoded = EncodeFileName(name);
        if (encoded.isEmpty() || encoded.size() > kMaxListLine || encoded.contains('\n') ||
            encoded.contains('\0') || !bytes.contains(encoded) || DecodeFileName(encoded) != name)
            std::abort();
    }
    return 0;
}
