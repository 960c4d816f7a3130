#pragma once
#include <QColor>
#include <QImage>
#include <QString>

// The general picture loader: BMP, GIF, ICO, JPEG and whatever else Qt's readers know,
// recognised by the file's content, never by its name.
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

// Loads the picture file `path`. Of an icon file the largest image is taken, of an
// animated GIF the first frame; a camera photo is turned upright by its EXIF orientation;
// pixels with alpha are drawn over `background`, each channel as
// (a * picture + (255 - a) * background + 127) / 255, as the PNG codec does. A picture
// whose stated size exceeds the picture limit is refused before it is decoded.
LoadedPicture LoadPicture(const QString& path, QColor background);
