// layerpix-compose's command line from any bytes, NUL between arguments: reading and settling
// it never crashes, and a command that reads as one to compose names what it must.
#include "batch/BatchOptions.h"
#include "core/text/FileNames.h"

#include <QByteArray>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QStringList arguments;
    for (const QByteArray& argument : QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0'))
        arguments << DecodeFileName(argument);
    const Result<BatchCommandLine> command = ParseBatchCommandLine(arguments);
    if (!command || command->action != BatchAction::Compose)
        return 0;
    const BatchOptions& options = command->options;
    if (options.foreground.isEmpty() || options.outputFolder.isEmpty() ||
        (options.backgrounds.isEmpty() && options.lists.isEmpty()))
        std::abort();
    const Result<BatchSettings> settled = SettleBatchSettings(options, SettingsRecord{}, 2);
    if (!settled || settled->rate < 0 || settled->rate > 100 || settled->jobs < 1 || settled->jobs > 256)
        std::abort();
    return 0;
}
