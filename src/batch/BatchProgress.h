#pragma once
// What layerpix-compose tells on standard error while a batch runs.
#include "batch/BatchRun.h"

#include <QString>
#include <chrono>
#include <cstddef>
#include <cstdio>

// The progress line: a bar, the count of finished pictures, the name of the picture begun
// last and, once one has finished, the time left at the pace so far, e.g.
// "[######--------------]  6/20 photo-007.jpg 0:42 left". At most `columns` - 1 characters,
// so it never wraps; a long name loses its middle first.
QString ProgressLine(std::size_t done, std::size_t total, const QString& current,
                     std::chrono::milliseconds elapsed, int columns);

// Reports failures as "layerpix-compose: FILE: REASON" lines and, when `showProgress`, keeps
// the progress line at the bottom of a terminal, removing it at the end.
class BatchReport final : public BatchObserver {
public:
    BatchReport(std::FILE* stream, bool showProgress, std::size_t total);
    ~BatchReport() override;

    void Started(const BatchItem& item) override;
    void Finished(const BatchItem& item, const QString& failedFile,
                  const QString& reason) override;
    void Fail(const QString& file, const QString& reason) override;

private:
    void Draw();
    void Clear();

    std::FILE* stream_;
    bool showProgress_;
    std::size_t total_, done_ = 0;
    QString current_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};
