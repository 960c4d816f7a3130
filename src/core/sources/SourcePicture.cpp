#include "core/sources/SourcePicture.h"

#include "core/sources/PngRoute.h"
#include "core/sources/SourceNames.h"

LoadedPicture LoadSourcePicture(const QString& path, PictureBackground background)
{
    return TakesPngRoute(path) ? ReadPngFile(path, background) : LoadPicture(path, background);
}
