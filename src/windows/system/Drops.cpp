#include "windows/system/Drops.h"

#include <QMimeData>
#include <QUrl>

std::optional<QStringList> DroppedFiles(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls())
        return std::nullopt;
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    if (paths.isEmpty())
        return std::nullopt;
    return paths;
}
