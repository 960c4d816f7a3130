#pragma once
#include <QColor>

// The system colours the windows are drawn with, in one place.
inline const QColor COLOR_BTNFACE{0xF0, 0xF0, 0xF0};
inline const QColor COLOR_MENU{0xF0, 0xF0, 0xF0};
inline const QColor COLOR_WINDOW{0xFF, 0xFF, 0xFF};
inline const QColor COLOR_WINDOWTEXT{0x00, 0x00, 0x00};

// The main window's hidden picture holders. A source picture's pixels with alpha are drawn
// over this colour, in the window and in the batch command alike.
inline const QColor HolderBackColour = COLOR_MENU;
