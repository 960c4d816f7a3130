// The general picture loader on any file: it either refuses it or gives an opaque picture
// within the picture limit.
#include "codec/PictureLimit.h"
#include "core/sources/PictureLoader.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace {
QTemporaryDir* folder = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Qt finds its picture readers through the application object.
    static QCoreApplication application(*argc, *argv);
    folder = new QTemporaryDir(QStringLiteral("/dev/shm/layerpix-fuzz-XXXXXX"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = folder->filePath(QStringLiteral("input"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        std::abort();
    file.close();
    const LoadedPicture loaded = LoadPicture(path, QColor(64, 128, 192));
    if (loaded && *loaded
        && ((*loaded)->format() != QImage::Format_RGB32
            || !PictureSizeAllowed((*loaded)->width(), (*loaded)->height())))
        std::abort();
    return 0;
}
