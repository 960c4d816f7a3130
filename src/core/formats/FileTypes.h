#pragma once
// The one table of picture formats and the file-name extensions that stand for them.
#include <QString>
#include <QStringView>
#include <initializer_list>
#include <optional>

// The formats the program reads; the first three it also writes.
enum class PictureFormat { Bmp, Gif, Ico, Jpeg, Png };
enum class SaveFormat { Bmp, Jpeg, Png };

PictureFormat FormatOf(SaveFormat format);
// The format itself when the program writes it; none for GIF and ICO.
std::optional<SaveFormat> Writable(PictureFormat format);

// The extension the program gives a file of `format`, lower case with its dot: ".jpg".
QString ExtensionOf(PictureFormat format);

// The format a file name's last four characters name, in any letter case (".PNG", ".Jpg"):
// how the windows tell a picture's format by its name. A longer extension (".jpeg") names
// none there.
std::optional<PictureFormat> FormatOfEnding(QStringView name);

// The format a whole extension (without its dot, any letter case) names: "jpg" and "jpeg"
// are JPEG.
std::optional<PictureFormat> FormatOfExtension(QStringView extension);

// The patterns of a file dialog's filter for `formats`: "*.bmp;*.jpg".
QString Patterns(std::initializer_list<PictureFormat> formats);
