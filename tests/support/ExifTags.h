#pragma once
#include <QByteArray>
#include <map>
#include <string>

// Every EXIF entry libexif reads in `exif` (a JPEG file, or "Exif\0\0" and a TIFF structure),
// as it stands: "<IFD> <tag>" (as "0 0112", "EXIF 829a") to the entry's bytes, and "thumbnail"
// to the thumbnail's when there is one. Empty when libexif finds no EXIF.
std::map<std::string, QByteArray> ExifTags(const QByteArray& exif);
