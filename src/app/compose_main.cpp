#include "app/BatchCommand.h"

#include <QCoreApplication>
#include <QLoggingCategory>

// layerpix-compose: no windows, so no GUI application; the core application gives the
// program's folder, the arguments in the system's encoding and Qt's image plugins.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // The name the window runs under, so both find the same settings file.
    QCoreApplication::setApplicationName(QStringLiteral("Layerpix"));
    // A picture that does not open is reported once, with its name and the reason; the image
    // readers' own warnings would only repeat it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    return ComposeCommand(QCoreApplication::arguments().mid(1),
                          QCoreApplication::applicationDirPath());
}
