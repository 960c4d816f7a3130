#pragma once
// Files that must not open, for the tests of both loaders and of the source panes: for each of
// BMP, GIF, ICO, JPEG and PNG a zero-byte file, files cut after the header, in the pixel data
// and before the end, headers stating 65535 x 65535, 100000 x 100000, 1,000,000 x 268 and sizes
// at the ends of 32 bits (where the format can state them), garbage behind a correct signature;
// PNG files too short to state a size, whose text claims 2 GiB, padded out to pass for a picture
// of 16384 x 16384, or holding noise for its image data; icon directories counting 65535
// images; formats the program does not read. Every name is Japanese with spaces and ends as its format's files do.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <vector>

struct BadPictureFile { QString name; QByteArray bytes; };
std::vector<BadPictureFile> BadPictureFiles();
// A picture file of tests/data of each of the five formats, which opens.
std::vector<BadPictureFile> GoodPictureFiles();

// Paths made in `folder` that name no readable file: a folder, missing files, pipes and a
// symbolic link that points to itself through another, each with a picture's name.
QStringList BadPicturePaths(const QTemporaryDir& folder);
