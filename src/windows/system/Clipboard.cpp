#include "windows/system/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void PutImageOnClipboard(const QImage& image)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(image);
}
