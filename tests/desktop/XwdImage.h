#pragma once
// Reading the X Window Dump format that `xwd` writes, for screenshots of a real X server.
#include <QByteArray>
#include <QImage>

// The picture of a dump as an X server of 24 bits writes it: Z-format pixels of 24 or 32 bits
// with their colour masks, in a true-colour visual or a direct-colour one (whose colour map
// the dump carries). Anything else gives a null image.
QImage ReadXwd(const QByteArray& dump);
