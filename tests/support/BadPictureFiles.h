#pragma once
// Files that must not open, for the tests of both loaders and of the source panes: for each
// of BMP, GIF, ICO, JPEG and PNG a zero-byte file, one cut after its header, one cut in its
// pixel data, headers stating 65535 x 65535, 100000 x 100000, 1,000,000 x 268 pixels and
// sizes at the ends of 32 bits (where the format can state them) and garbage behind a correct
// signature; PNG files too short to state a size; icon directories counting 65535 images;
// pictures in formats the program does not read. Every name is Japanese with spaces and ends
// as its format's files do.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <vector>

struct BadPictureFile {
    QString name;
    QByteArray bytes;
};
std::vector<BadPictureFile> BadPictureFiles();

// Paths that name no readable file, made in `folder`: a folder, a missing file and a
// symbolic link that points to itself through another, each with a picture's name.
QStringList BadPicturePaths(const QTemporaryDir& folder);

// A small picture file of each of the five formats that opens: name and bytes.
std::vector<BadPictureFile> GoodPictureFiles();
