#pragma once
#include "codec/Codec.h"

class Surface;

// The codec's view of a surface's backing bitmap, taken just before a codec call: the
// view points into the bitmap and is invalid once the surface is resized.
CodecSurface CodecView(Surface& surface);
