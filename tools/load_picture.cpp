// Loads one picture file the way a source slot does (the PNG route for names ending in
// ".png", the general loader otherwise) into a holder surface, with the metadata a background
// keeps, then exits. Prints the outcome and the time taken; run under /usr/bin/time -v to see
// the peak memory.
//     load_picture FILE
#include "core/sources/PictureLoader.h"
#include "core/surfaces/Surface.h"
#include "core/sources/PngRoute.h"
#include "core/sources/SourceMetadata.h"
#include "core/sources/SourceNames.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: load_picture FILE\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QElapsedTimer timer;
    timer.start();
    Surface holder(0, 0, Qt::white);
    holder.AutoSize = true;
    LoadedPicture loaded = TakesPngRoute(path) ? ReadPngFile(path, holder.BackColour())
                                               : LoadPicture(path, holder.BackColour());
    if (loaded)
        holder.SetPicture(std::move(*loaded));
    const PictureMetadata metadata = ReadSourceMetadata(path);
    const qint64 elapsed = timer.elapsed();
    if (!loaded)
        std::printf("failed after %lld ms: %s\n", elapsed, loaded.failure().english.c_str());
    else
        std::printf("loaded %d x %d in %lld ms\n", holder.Width(), holder.Height(), elapsed);
    std::printf("metadata: EXIF %zu, profile %zu, XMP %zu bytes\n", metadata.exif.size(), metadata.icc.size(),
                metadata.xmp.size());
    return loaded ? 0 : 1;
}
