#include "windows/controls/AppIcon.h"

#include <QDirIterator>

QIcon AppIcon()
{
    // The bitmaps the build renders from desktop/layerpix.svg, one folder per size, the same
    // files the desktop shows in its menus.
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (sizes.hasNext())
        icon.addFile(sizes.next() + QStringLiteral("/apps/layerpix.png"));
    return icon;
}
