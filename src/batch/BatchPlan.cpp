#include "batch/BatchPlan.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace {
SaveFormat OwnFormat(const QFileInfo& background)
{
    const QString suffix = background.suffix().toLower();
    if (suffix == u"bmp")
        return SaveFormat::Bmp;
    if (suffix == u"jpg" || suffix == u"jpeg")
        return SaveFormat::Jpeg;
    return SaveFormat::Png;
}

QString Extension(SaveFormat format)
{
    switch (format) {
    case SaveFormat::Bmp: return QStringLiteral(".bmp");
    case SaveFormat::Jpeg: return QStringLiteral(".jpg");
    case SaveFormat::Png: break;
    }
    return QStringLiteral(".png");
}
} // namespace

std::vector<BatchItem> PlanBatch(const QStringList& backgrounds, const QString& outputFolder,
                                 std::optional<SaveFormat> format)
{
    std::vector<BatchItem> items;
    items.reserve(std::size_t(backgrounds.size()));
    QHash<QString, QString> takenBy;   // output -> the background that takes it
    const QDir folder(outputFolder);
    for (const QString& background : backgrounds) {
        const QFileInfo info(background);
        BatchItem item{background, {}, format.value_or(OwnFormat(info)), {}};
        item.output = QDir::cleanPath(folder.filePath(info.completeBaseName() + Extension(item.format)));
        if (const auto earlier = takenBy.constFind(item.output); earlier != takenBy.constEnd())
            item.refusal = QStringLiteral("gives the same file %1 as %2")
                               .arg(QDir::toNativeSeparators(item.output), *earlier);
        else
            takenBy.insert(item.output, background);
        items.push_back(std::move(item));
    }
    return items;
}
