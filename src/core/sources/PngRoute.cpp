#include "core/sources/PngRoute.h"

#include "core/sources/PngPicture.h"

#include <QFile>

LoadedPicture ReadPngFile(const QString& path, QColor background)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {LoadedPicture::Outcome::Failed, QImage(), file.errorString()};
    const QByteArray head = file.read(kPngHeaderBytes);
    const qint64 fileSize = file.size();
    file.close();
    const auto stated =
        ReadPngHeader(reinterpret_cast<const std::uint8_t*>(head.constData()), head.size());
    if (!stated)
        return {LoadedPicture::Outcome::Failed, QImage(), QStringLiteral("not a PNG file")};
    return DecodePngPicture(path, *stated, fileSize, background);
}
