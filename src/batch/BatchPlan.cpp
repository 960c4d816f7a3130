#include "batch/BatchPlan.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace {
// A background keeps its own format when it is one the program writes; GIF, ICO and any
// other kind are written as PNG.
SaveFormat OwnFormat(const QFileInfo& background)
{
    const std::optional<PictureFormat> format = FormatOfExtension(background.suffix());
    return format ? Writable(*format).value_or(SaveFormat::Png) : SaveFormat::Png;
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
        item.output = QDir::cleanPath(folder.filePath(info.completeBaseName() + ExtensionOf(FormatOf(item.format))));
        if (const auto earlier = takenBy.constFind(item.output); earlier != takenBy.constEnd())
            item.refusal = QStringLiteral("gives the same file %1 as %2")
                               .arg(QDir::toNativeSeparators(item.output), *earlier);
        else
            takenBy.insert(item.output, background);
        items.push_back(std::move(item));
    }
    return items;
}
