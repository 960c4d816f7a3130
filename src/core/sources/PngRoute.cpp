#include "core/sources/PngRoute.h"

#include "base/Failure.h"
#include "core/sources/PngPicture.h"
#include "core/sources/ReadOnlyFile.h"

LoadedPicture ReadPngFile(const QString& path, PictureBackground background)
{
    QFile file;
    if (Result<void> opened = OpenToRead(path, file); !opened)
        return opened.failure();
    return DecodePngPicture(path, file, background);
}
