#pragma once
#include <QIODevice>
#include <QImage>

// Icons of 1 to 24 bits a pixel take their transparency from the AND mask stored after their
// rows, and so do 32-bit icons whose alpha is zero everywhere; Qt's icon reader leaves the
// mask unused. Makes the pixels that the mask of image `image` of the icon file `file` marks
// transparent in `picture`, Qt's decode of that image (for a 32-bit image with zero alpha,
// the image's colours read from the file, all opaque). Leaves `picture` as it is when the image is a PNG, carries
// alpha, does not match the picture's size, or its mask does not lie wholly within the
// image's data in the file.
void ApplyIconMask(QIODevice& file, int image, QImage& picture);
