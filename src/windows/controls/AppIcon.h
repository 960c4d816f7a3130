#pragma once
#include <QIcon>

// The program's icon, a picture pasted onto another, in every size the desktop's icon theme
// has it: 16, 32, 48 and 256 pixels.
QIcon AppIcon();
