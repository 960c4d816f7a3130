#include "batch/BatchCommand.h"

#include "batch/BatchOptions.h"
#include "batch/BatchPlan.h"
#include "batch/BatchProgress.h"
#include "batch/BatchRun.h"
#include "core/settings/Settings.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <thread>

#include <unistd.h>

namespace {
constexpr int kAllWritten = 0, kSomeFailed = 1, kCannotStart = 2;

int CannotStart(const Failure& failure)
{
    std::fprintf(stderr, "layerpix-compose: %s\n", failure.english.c_str());
    return kCannotStart;
}

// The non-empty lines of a list of backgrounds, in the system's file-name encoding; "-" reads
// standard input.
Result<QStringList> ReadList(const QString& list)
{
    QFile file(list);
    const bool opened = list == u"-" ? file.open(stdin, QIODevice::ReadOnly)
                                     : file.open(QIODevice::ReadOnly);
    QByteArray text = opened ? file.readAll() : QByteArray();
    if (!opened || file.error() != QFileDevice::NoError)
        return Failure{
            QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(list), file.errorString()).toStdString(),
            {}};
    QStringList names;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            names << QFile::decodeName(line);
    }
    return names;
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
    const Result<SettingsRecord> stored = LoadSettings(programFolder);
    if (!stored)
        return CannotStart(stored.failure());
    const Result<BatchSettings> settled =
        SettleBatchSettings(options, *stored, int(std::thread::hardware_concurrency()));
    if (!settled)
        return CannotStart(settled.failure());

    QStringList backgrounds = options.backgrounds;
    for (const QString& list : options.lists) {
        const Result<QStringList> names = ReadList(list);
        if (!names)
            return CannotStart(names.failure());
        backgrounds += *names;
    }
    if (!QDir().mkpath(options.outputFolder))
        return CannotStart({QStringLiteral("%1: the output folder cannot be made")
                                .arg(QDir::toNativeSeparators(options.outputFolder))
                                .toStdString(),
                            {}});

    const std::vector<BatchItem> items =
        PlanBatch(backgrounds, options.outputFolder, settled->format);
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
