#pragma once
// A source picture read in bands of rows rather than whole, where the rows come out as the
// loader's picture: so a large background passes through without being held.
#include "codec/Rows.h"

#include <QColor>
#include <QString>
#include <memory>

// The rows of the picture file `path`, equal to those of LoadSourcePicture(path, background):
// a JPEG file of YCbCr or grey samples that Qt's reader does not turn by its orientation, or
// a PNG file that is not interlaced, by the route and after the checks of the loader. Null
// for any other file, also one the loader refuses: it is then the loader's to load or refuse.
std::unique_ptr<RowReader> OpenSourceRows(const QString& path, QColor background);
