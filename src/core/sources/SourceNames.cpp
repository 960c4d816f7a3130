#include "core/sources/SourceNames.h"

namespace {
QString Ending(const QString& path)
{
    return path.right(4).toUpper();
}
} // namespace

bool TakesPngRoute(const QString& path)
{
    return Ending(path) == QLatin1String(".PNG");
}

bool DropAccepted(const QString& path, std::int16_t gifOption)
{
    const QString ending = Ending(path);
    if (ending == QLatin1String(".GIF"))
        return gifOption == 1;
    return ending == QLatin1String(".BMP") || ending == QLatin1String(".JPG")
           || ending == QLatin1String(".ICO") || ending == QLatin1String(".PNG");
}

QString BrowseFilterPattern(std::int16_t gifOption)
{
    const QChar nul(0);
    const QString patterns = gifOption != 0 ? QStringLiteral("*.bmp;*.gif;*.ico;*.jpg;*.png")
                                            : QStringLiteral("*.bmp;*.ico;*.jpg;*.png");
    return QStringLiteral("画像ファイル") + nul + patterns + nul;
}
