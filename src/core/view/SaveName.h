#pragma once
// How the composite's file name and format are settled from what the user typed and the
// filter chosen in the save dialog. Plain text rules, no file system.
#include "core/formats/FileTypes.h"

#include <QString>
#include <cstdint>

struct SaveTarget {
    QString name;   // the name to write, possibly with an extension appended
    SaveFormat format;
};

// The name without leading and trailing space characters (U+0020 only).
QString TrimSpaces(QStringView name);

// The save dialog returns the folder and the name as typed, joined by "/": spaces typed
// around the name are removed from the name alone, the folder stays as it is. Empty when
// the typed name is spaces only (or nothing).
QString TrimTypedName(QStringView folderAndName);

// Settles the format from the save dialog's filter (counted from 1) and the name's extension
// (FormatOfName): filter 2, 3 and 4 force a bitmap, JPEG and PNG file, appending ".BMP",
// ".JPG" or ".PNG" unless the extension already names that format; any other filter takes
// the format the extension names and appends ".BMP" when it names none that is written. A
// matching extension is kept as typed: "x.jpeg" is a JPEG file of that name.
SaveTarget SettleSaveName(QStringView name, std::int32_t filterIndex);
