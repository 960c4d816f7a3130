#include "batch/BatchCommand.h"
#include "core/text/FileNames.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <climits>
#include <csignal>
#include <malloc.h>

// layerpix-compose: no windows, so no GUI application; the core application gives the
// program's folder, the arguments in the system's encoding and Qt's image plugins.
int main(int argc, char* argv[])
{
    // Every background takes hundreds of megabytes. Handed back to the system after each file
    // and faulted in again for the next, that memory costs more than the pixel work; kept in
    // the heap, the memory of one background serves the next. The process still never holds
    // more than its busiest moment: N pictures in flight.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, INT_MAX);
    QCoreApplication app(argc, argv);
    // The name the window runs under, so both find the same settings file.
    QCoreApplication::setApplicationName(QStringLiteral("Layerpix"));
    // A picture that does not open is reported once, with its name and the reason; the image
    // readers' and the colour profiles' own warnings would only repeat it, or speak of a
    // picture that was written all the same.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false\nqt.gui.icc*=false"));
    // A file past the file-size limit fails its write and is reported; the rest go on.
    std::signal(SIGXFSZ, SIG_IGN);
    // The arguments as the system gave them: a name that is not UTF-8 keeps its bytes.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << DecodeFileName(argv[i]);
    return ComposeCommand(arguments, QCoreApplication::applicationDirPath());
}
