#pragma once
#include <QIcon>

// The program's icon, drawn at 16 x 16 and 32 x 32: a picture pasted over another.
QIcon AppIcon();
