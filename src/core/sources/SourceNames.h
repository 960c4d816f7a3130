#pragma once
#include <QString>
#include <cstdint>

// Which loader a picture file goes to, and which files the source panes take.

// True when the name ends in ".png" in any letter case: the PNG codec reads it. Every other
// file goes to the general loader, which recognises its format by content.
bool TakesPngRoute(const QString& path);

// Whether a file dropped on a path field or a pane is opened: names ending in ".bmp",
// ".jpg" (or ".jpeg", ".jpe"), ".ico" or ".png" in any letter case, and ".gif" only when
// `gifOption` is 1.
bool DropAccepted(const QString& path, std::int16_t gifOption);

// The browse dialog's filter list, description NUL patterns NUL: one filter of BMP, ICO,
// JPEG and PNG files, with GIF files too unless `gifOption` is 0.
QString BrowseFilterPattern(std::int16_t gifOption);
