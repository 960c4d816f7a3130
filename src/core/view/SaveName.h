#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// How the composite's file name and format are settled from what the user typed and the
// filter chosen in the save dialog. Plain text rules, no file system.

enum class SaveFormat { Bmp, Jpeg, Png };

struct SaveTarget {
    std::u16string name;   // the name to write, possibly with an extension appended
    SaveFormat format;
};

// The name without leading and trailing space characters (U+0020 only).
std::u16string TrimSpaces(std::u16string_view name);

// The save dialog returns the folder and the name as typed, joined by "/": spaces typed
// around the name are removed from the name alone, the folder stays as it is. Empty when
// the typed name is spaces only (or nothing).
std::u16string TrimTypedName(std::u16string_view folderAndName);

// The format key: the last four characters of the name (the whole name when shorter),
// ASCII letters in upper case, so ".bmp" and ".Bmp" both give ".BMP".
std::u16string FormatKey(std::u16string_view name);

// Settles the format from the save dialog's filter (counted from 1) and the name's key:
// filter 2, 3 and 4 force a bitmap, JPEG and PNG file, appending ".BMP", ".JPG" or ".PNG"
// unless the key already is that one; any other filter takes the format from the key and
// appends ".BMP" when the key is none of ".BMP", ".JPG", ".PNG". A matching extension is
// kept as typed; ".jpeg" is not a JPEG key.
SaveTarget SettleSaveName(std::u16string_view name, std::int32_t filterIndex);
