#pragma once
#include "base/ColorRef.h"

#include <QColor>

inline QColor QtColourOf(ColorRef c)
{
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

inline ColorRef ColorRefOf(QColor c)
{
    return RGB(c.red(), c.green(), c.blue());
}
