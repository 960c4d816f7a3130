#include "core/sources/SourceRows.h"

#include "core/sources/PictureChecks.h"
#include "core/sources/ReadOnlyFile.h"
#include "core/sources/SourceNames.h"
#include "core/surfaces/QtColour.h"
#include "core/text/FileNames.h"

#include <QFile>
#include <QImageReader>

std::unique_ptr<RowReader> OpenSourceRows(const QString& path, QColor background)
{
    const QByteArray name = EncodeFileName(path);
    const std::uint32_t colour = ColorRefOf(background);
    if (TakesPngRoute(path))
        return OpenPngRows(name.constData(), colour);
    QFile file;
    if (!OpenToRead(path, file))
        return nullptr;
    const Result<PictureFormat> format = CheckPictureFile(file);
    if (format && *format == PictureFormat::Png)
        return OpenPngRows(name.constData(), colour);
    if (!format || *format != PictureFormat::Jpeg || !file.seek(0))
        return nullptr;
    QImageReader reader(&file, "jpeg");
    reader.setAutoDetectImageFormat(false);   // loads the JPEG plugin alone, not every one Qt has
    reader.setAutoTransform(true);
    if (reader.transformation() != QImageIOHandler::TransformationNone)
        return nullptr;
    std::unique_ptr<RowReader> rows = OpenJpegRows(name.constData());
    if (!rows || QSize(rows->Width(), rows->Height()) != reader.size() ||
        !CheckStatedSize(rows->Width(), rows->Height()))
        return nullptr;
    return rows;
}
