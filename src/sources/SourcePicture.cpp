#include "sources/SourcePicture.h"

#include "sources/PngRoute.h"
#include "sources/SourceNames.h"

LoadedPicture LoadSourcePicture(const QString& path, QColor background)
{
    return TakesPngRoute(path) ? ReadPngFile(path, background) : LoadPicture(path, background);
}
