#pragma once
// A foreground resized for a background of another size.
#include "base/ColorRef.h"

#include <QImage>
#include <cstdint>

// `front` resized to `size` so that the key colour never bleeds into its edges: each pixel is
// first keyed by ApplyKey (SoftKey.h; its own alpha when the picture keeps its transparency,
// else 255), so keyed pixels become transparent, then the picture is resampled with
// premultiplied alpha by Qt's smooth filter (area averaging when shrinking, bilinear when
// growing), in which a transparent pixel adds nothing to its neighbours. The result keeps its
// transparency (Format_ARGB32) and is composed with the key again: a resampled pixel that
// happens to be exactly the key colour has its blue byte moved by one, so the key takes only
// what was keyed here.
QImage ScaledForeground(const QImage& front, ColorRef key, std::int32_t keyTolerance, QSize size);
