#include "core/sources/SourceNames.h"

#include "core/formats/FileTypes.h"

bool TakesPngRoute(const QString& path)
{
    return FormatOfName(path) == PictureFormat::Png;
}

bool DropAccepted(const QString& path, std::int16_t gifOption)
{
    const std::optional<PictureFormat> format = FormatOfName(path);
    return format && (*format != PictureFormat::Gif || gifOption == 1);
}

QString BrowseFilterPattern(std::int16_t gifOption)
{
    using enum PictureFormat;
    const QChar nul(0);
    const QString patterns = gifOption != 0 ? Patterns({Bmp, Gif, Ico, Jpeg, Png})
                                            : Patterns({Bmp, Ico, Jpeg, Png});
    return QStringLiteral("画像ファイル") + nul + patterns + nul;
}
