#include "core/sources/SourceMetadata.h"

#include "core/sources/ReadOnlyFile.h"

PictureMetadata ReadSourceMetadata(const QString& path)
{
    QFile file;
    if (!OpenToRead(path, file))
        return {};
    return ReadPictureMetadata(FileSource(file.handle()));
}
