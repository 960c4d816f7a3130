#pragma once
#include "base/ColorRef.h"

#include <QColor>

inline QColor ToQColor(ColorRef c)
{
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

inline ColorRef ToColorRef(QColor c)
{
    return RGB(c.red(), c.green(), c.blue());
}
