#include "core/sources/PngRoute.h"

#include "base/Failure.h"
#include "core/sources/PngPicture.h"
#include "core/sources/ReadOnlyFile.h"

LoadedPicture ReadPngFile(const QString& path, QColor background)
{
    QFile file;
    if (Result<void> opened = OpenToRead(path, file); !opened)
        return opened.failure();
    const QByteArray head = file.read(kPngHeaderBytes);
    const qint64 fileSize = file.size();
    file.close();
    const auto stated =
        ReadPngHeader(reinterpret_cast<const std::uint8_t*>(head.constData()), head.size());
    if (!stated)
        return NotAPngFile();
    return DecodePngPicture(path, *stated, fileSize, background);
}
