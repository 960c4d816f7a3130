#pragma once
#include "codec/Codec.h"

#include <QColor>
#include <QImage>

class Surface;

// The codec's view of a surface's backing bitmap, taken just before a codec call: the
// view points into the bitmap and is invalid once the surface is resized.
CodecSurface CodecView(Surface& surface);
// The same over a Format_RGB32 picture, with `background` under its transparent pixels.
CodecSurface CodecView(QImage& bitmap, QColor background);
