#pragma once
#include <QImage>

// Empties the system clipboard and puts `image` on it. Qt offers it to other programs as
// image/png and image/bmp (among others) on X11 and Wayland, and as a device-independent
// bitmap on Windows.
void PutImageOnClipboard(const QImage& image);
