#include "core/view/SaveName.h"

#include <optional>

namespace {
SaveTarget Forced(QStringView name, SaveFormat wanted)
{
    QString settled = name.toString();
    if (FormatOfName(name) != FormatOf(wanted))
        settled += ExtensionOf(FormatOf(wanted)).toUpper();
    return {settled, wanted};
}
} // namespace

QString TrimSpaces(QStringView name)
{
    qsizetype first = 0, end = name.size();
    while (first < end && name[first] == u' ')
        ++first;
    while (end > first && name[end - 1] == u' ')
        --end;
    return name.sliced(first, end - first).toString();
}

QString TrimTypedName(QStringView folderAndName)
{
    const qsizetype nameStart = folderAndName.lastIndexOf(u'/') + 1;   // 0 when there is no folder
    const QString name = TrimSpaces(folderAndName.sliced(nameStart));
    if (name.isEmpty())
        return QString();
    return folderAndName.first(nameStart).toString() + name;
}

SaveTarget SettleSaveName(QStringView name, std::int32_t filterIndex)
{
    switch (filterIndex) {
    case 2: return Forced(name, SaveFormat::Bmp);
    case 3: return Forced(name, SaveFormat::Jpeg);
    case 4: return Forced(name, SaveFormat::Png);
    default: break;
    }
    if (const std::optional<PictureFormat> format = FormatOfName(name))
        if (const std::optional<SaveFormat> written = Writable(*format))
            return {name.toString(), *written};
    return Forced(name, SaveFormat::Bmp);
}
