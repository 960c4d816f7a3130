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

// The format a whole extension (without its dot, any letter case) names: "jpg", "jpeg" and
// "jpe" are JPEG.
std::optional<PictureFormat> FormatOfExtension(QStringView extension);

// The format the extension of a path's file name names (what follows its last '.'), in any
// letter case: "/p/a.PNG" and "a.Jpeg" name one, "a.png/b" and "png" none.
std::optional<PictureFormat> FormatOfName(QStringView path);

// The patterns of a file dialog's filter for `formats`, every extension of each:
// "*.bmp;*.jpg;*.jpeg;*.jpe".
QString Patterns(std::initializer_list<PictureFormat> formats);
