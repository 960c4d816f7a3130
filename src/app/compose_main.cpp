#include "app/BatchCommand.h"

#include <QCoreApplication>
#include <QLoggingCategory>

// Read by jemalloc at start-up: every mapping in huge pages where the system allows them,
// and freed pages kept for the next background instead of handed back and faulted in again
// (the process never holds more than its busiest moment, N pictures in flight).
extern "C" {
const char* malloc_conf = "thp:always,dirty_decay_ms:-1,muzzy_decay_ms:-1";
}

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
