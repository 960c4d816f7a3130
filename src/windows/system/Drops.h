#pragma once
#include <QStringList>
#include <optional>

class QMimeData;

// The files of a drop from the file manager, as local paths in the order of the drop's
// list. Entries that are not local files (web addresses) are left out; a drop without any
// local file (text, a picture, web addresses only) gives std::nullopt: no file list.
std::optional<QStringList> DroppedFiles(const QMimeData* data);
