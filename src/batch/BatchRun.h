#pragma once
// Composes the backgrounds of a batch, several at once.
#include "batch/BatchOptions.h"
#include "batch/BatchPlan.h"

#include <QString>
#include <vector>

// What a batch reports as it goes. The calls come from the worker threads, one at a time.
class BatchObserver {
public:
    virtual ~BatchObserver() = default;
    virtual void Started(const BatchItem& item) = 0;
    // `failedFile` is empty when the composite was written; otherwise the file that failed
    // (the background, or the output) and `reason` says why.
    virtual void Finished(const BatchItem& item, const QString& failedFile,
                          const QString& reason) = 0;
    // A failure outside the batch's items (a refused item, the foreground).
    virtual void Fail(const QString& file, const QString& reason) = 0;
};

// Composes the picture in the file `foreground` (as the window's holder shows it) onto each
// item's background and writes the composite to the item's output, `settings.jobs` items at
// a time; refused items are skipped without a report. Each picture is loaded as the window
// loads it, composed by ComposeImages at (settings.x, settings.y) and written by
// WriteComposite with the background's metadata (none with settings.strip), so a file equals
// what the window saves from the same inputs; a JPEG or PNG background that OpenSourceRows
// reads in bands is streamed through WriteStreamedComposite instead, into the same file.
// Without settings.overwrite an output that exists already is a failure. Every worker holds
// at most one background at a time. The foreground is read once, on a thread of its own while the
// workers read their first backgrounds; when it cannot be loaded nothing is written and only
// the foreground's failure is reported. Returns the number of failures.
int RunBatch(const QString& foreground, const std::vector<BatchItem>& items,
             const BatchSettings& settings, BatchObserver& observer);
