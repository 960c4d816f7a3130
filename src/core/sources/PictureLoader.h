#pragma once
#include "base/Result.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <optional>

// What a picture loader gives: the picture, Format_RGB32, opaque, at least 1 x 1 and within
// the picture limit (PictureLimit.h); std::nullopt when the path was empty, which leaves
// nothing to load and is no failure; or why the file is missing, unreadable, unrecognised,
// corrupt or too large. The reasons leave the file's name to the caller.
// A loader asked for no background keeps a picture's transparency instead of drawing it
// over one: the picture is then Format_ARGB32, not premultiplied, when some pixel of it is
// not opaque, and Format_RGB32 as before otherwise.
using LoadedPicture = Result<std::optional<QImage>>;

// The picture's pixels with alpha drawn over this colour, or kept (std::nullopt).
using PictureBackground = std::optional<QColor>;

// A decoded picture whose pixels hold their alpha (Format_ARGB32 or its layout), as
// LoadedPicture gives it: Format_ARGB32 when some pixel is not opaque, else Format_RGB32.
QImage KeepingTransparency(QImage picture);

// The general picture loader: BMP, GIF, ICO, JPEG and PNG, recognised by the file's
// signature, never by its name; no other format that Qt's readers know.
// Loads the picture file `path`. Of an icon file the largest image is taken, with the
// transparency of its AND mask (IconMask.h); of an animated GIF the first frame; a camera
// photo is turned upright by its EXIF orientation; PNG content goes to the PNG codec.
// Pixels with alpha are drawn over `background`, each channel as
// (a * picture + (255 - a) * background + 127) / 255, as the PNG codec does. A file that
// is cut short, or whose stated size exceeds the picture limit or what its data can hold,
// is refused before it is decoded (PictureChecks.h).
LoadedPicture LoadPicture(const QString& path, PictureBackground background);
