#pragma once
#include <QColor>
#include <QImage>
#include <QString>

// The general picture loader: BMP, GIF, ICO, JPEG and PNG, recognised by the file's
// signature, never by its name; no other format that Qt's readers know.
struct LoadedPicture {
    enum class Outcome {
        Picture,   // `picture` holds the decoded picture
        NoPicture, // the path was empty: nothing to load, and that is no failure
        Failed,    // missing, unreadable, unrecognised, corrupt or too large; see `reason`
    };
    Outcome outcome = Outcome::Failed;
    // Format_RGB32, opaque, at least 1 x 1 and within the picture limit (PictureLimit.h).
    QImage picture;
    // Why the load failed, in English, for diagnostics.
    QString reason;
};

// Loads the picture file `path`. Of an icon file the largest image is taken, with the
// transparency of its AND mask (IconMask.h); of an animated GIF the first frame; a camera
// photo is turned upright by its EXIF orientation; PNG content goes to the PNG codec.
// Pixels with alpha are drawn over `background`, each channel as
// (a * picture + (255 - a) * background + 127) / 255, as the PNG codec does. A file that
// is cut short, or whose stated size exceeds the picture limit or what its data can hold,
// is refused before it is decoded (PictureChecks.h).
LoadedPicture LoadPicture(const QString& path, QColor background);
