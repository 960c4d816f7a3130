#include "batch/BatchCommand.h"

#include "batch/BatchOptions.h"
#include "batch/BatchPlan.h"
#include "batch/BatchProgress.h"
#include "batch/BatchRun.h"
#include "core/settings/Settings.h"

#include "batch/BatchList.h"
#include "core/text/FileNames.h"
#include "files/Folders.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kAllWritten = 0, kSomeFailed = 1, kCannotStart = 2;

int CannotStart(const Failure& failure)
{
    std::fprintf(stderr, "layerpix-compose: %s\n", failure.english.c_str());
    return kCannotStart;
}

// With --overwrite, an output that is one of the pictures the batch reads (the output folder
// is the input folder, or the foreground's name matches an output) would destroy it; such an
// item is refused, whatever the names, by the file's device and inode.
void RefuseOutputsThatAreInputs(std::vector<BatchItem>& items, const QString& foreground)
{
    std::map<std::pair<dev_t, ino_t>, QString> inputs;
    const auto identify = [](const QString& name) -> std::optional<std::pair<dev_t, ino_t>> {
        struct stat info {};
        if (::stat(EncodeFileName(name).constData(), &info) != 0)
            return std::nullopt;
        return std::pair(info.st_dev, info.st_ino);
    };
    if (const auto file = identify(foreground))
        inputs.emplace(*file, foreground);
    for (const BatchItem& item : items)
        if (const auto file = identify(item.background))
            inputs.emplace(*file, item.background);
    for (BatchItem& item : items) {
        const auto file = item.refusal.isEmpty() ? identify(item.output) : std::nullopt;
        if (const auto input = file ? inputs.find(*file) : inputs.end(); input != inputs.end())
            item.refusal = QStringLiteral("its output %1 is the picture %2 itself, which is never replaced")
                               .arg(QString::fromUtf8(PrintableFileName(item.output)),
                                    QString::fromUtf8(PrintableFileName(input->second)));
    }
}

std::size_t Composable(const std::vector<BatchItem>& items)
{
    return std::size_t(std::count_if(items.begin(), items.end(),
                                     [](const BatchItem& item) { return item.refusal.isEmpty(); }));
}
} // namespace

int ComposeCommand(const QStringList& arguments, const QString& programFolder)
{
    const Result<BatchCommandLine> command = ParseBatchCommandLine(arguments);
    if (!command) {
        std::fprintf(stderr, "layerpix-compose: %s\nTry 'layerpix-compose --help'.\n",
                     command.failure().english.c_str());
        return kCannotStart;
    }
    switch (command->action) {
    case BatchAction::Help:
        std::fputs(BatchUsage().toLocal8Bit().constData(), stdout);
        return kAllWritten;
    case BatchAction::Version:
        std::puts("layerpix-compose " LAYERPIX_VERSION);
        return kAllWritten;
    case BatchAction::Compose:
        break;
    }
    const BatchOptions& options = command->options;

    // Its own copy, only read: the command line never saves settings.
    const Result<LoadedSettings> stored = LoadSettings(programFolder);
    if (!stored)
        return CannotStart(stored.failure());
    // Values the user meant to take from the file must not quietly become the defaults.
    if (stored->unread)
        return CannotStart({"the settings file cannot be read: " + stored->unread->english, {}});
    const Result<BatchSettings> settled =
        SettleBatchSettings(options, stored->settings, int(std::thread::hardware_concurrency()));
    if (!settled)
        return CannotStart(settled.failure());

    QStringList backgrounds = options.backgrounds;
    for (const QString& list : options.lists) {
        const Result<QStringList> names = ReadList(list);
        if (!names)
            return CannotStart(names.failure());
        backgrounds += *names;
    }
    if (Result<void> made = MakeFolders(EncodeFileName(options.outputFolder).toStdString()); !made)
        return CannotStart(made.failure());

    std::vector<BatchItem> items = PlanBatch(backgrounds, options.outputFolder, settled->format);
    if (settled->overwrite)
        RefuseOutputsThatAreInputs(items, options.foreground);
    const std::size_t composable = Composable(items);
    BatchReport report(stderr, isatty(fileno(stderr)) && composable > 1, composable);
    for (const BatchItem& item : items) {
        if (!item.refusal.isEmpty())
            report.Fail(item.background, item.refusal);
    }
    const int refused = int(items.size() - composable);
    if (composable == 0)
        return refused > 0 ? kSomeFailed : kAllWritten;

    const int failed = RunBatch(options.foreground, items, *settled, report);
    return failed + refused > 0 ? kSomeFailed : kAllWritten;
}
