#pragma once
// Which file each background of a batch becomes.
#include "core/formats/FileTypes.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct BatchItem {
    QString background;   // as given
    QString output;       // OUTDIR/<background's base name>.<bmp|jpg|png>
    SaveFormat format;
    QString refusal;      // empty, or why the item is not composed
};

// One item per background, in order. The output's name is the background's file name
// without its last extension, followed by the extension of `format`; with no format, of the
// background's own format as its name tells (".bmp"; ".jpg" or ".jpeg"; ".png", in any letter
// case), and PNG for any other name. A background whose output another item earlier in the
// list already takes (the same background twice, or two of the same base name) is refused,
// the refusal naming that earlier background. Plain text rules: no file is looked at.
std::vector<BatchItem> PlanBatch(const QStringList& backgrounds, const QString& outputFolder,
                                 std::optional<SaveFormat> format);
