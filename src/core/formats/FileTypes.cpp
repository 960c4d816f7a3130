#include "core/formats/FileTypes.h"

#include <QStringList>

namespace {
struct FileType {
    PictureFormat format;
    const char* extension;   // without its dot; the first of a format is the one written
};

constexpr FileType kFileTypes[] = {
    {PictureFormat::Bmp, "bmp"}, {PictureFormat::Gif, "gif"},  {PictureFormat::Ico, "ico"},
    {PictureFormat::Jpeg, "jpg"}, {PictureFormat::Jpeg, "jpeg"}, {PictureFormat::Jpeg, "jpe"},
    {PictureFormat::Png, "png"},
};
} // namespace

PictureFormat FormatOf(SaveFormat format)
{
    switch (format) {
    case SaveFormat::Bmp: return PictureFormat::Bmp;
    case SaveFormat::Jpeg: return PictureFormat::Jpeg;
    case SaveFormat::Png: break;
    }
    return PictureFormat::Png;
}

std::optional<SaveFormat> Writable(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Bmp: return SaveFormat::Bmp;
    case PictureFormat::Jpeg: return SaveFormat::Jpeg;
    case PictureFormat::Png: return SaveFormat::Png;
    case PictureFormat::Gif:
    case PictureFormat::Ico: break;
    }
    return std::nullopt;
}

QString ExtensionOf(PictureFormat format)
{
    for (const FileType& type : kFileTypes)
        if (type.format == format)
            return QStringLiteral(".") + QLatin1String(type.extension);
    return QString();
}

std::optional<PictureFormat> FormatOfExtension(QStringView extension)
{
    for (const FileType& type : kFileTypes)
        if (extension.compare(QLatin1String(type.extension), Qt::CaseInsensitive) == 0)
            return type.format;
    return std::nullopt;
}

std::optional<PictureFormat> FormatOfName(QStringView path)
{
    const QStringView name = path.sliced(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? std::nullopt : FormatOfExtension(name.sliced(dot + 1));
}

QString Patterns(std::initializer_list<PictureFormat> formats)
{
    QStringList patterns;
    for (const PictureFormat format : formats)
        for (const FileType& type : kFileTypes)
            if (type.format == format)
                patterns << QStringLiteral("*.") + QLatin1String(type.extension);
    return patterns.join(u';');
}
