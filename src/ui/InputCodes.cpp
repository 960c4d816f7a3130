#include "ui/InputCodes.h"

std::int16_t ButtonCode(Qt::MouseButtons buttons)
{
    std::int16_t code = 0;
    if (buttons & Qt::LeftButton) code |= vbLeftButton;
    if (buttons & Qt::RightButton) code |= vbRightButton;
    if (buttons & Qt::MiddleButton) code |= vbMiddleButton;
    return code;
}

std::int16_t ShiftCode(Qt::KeyboardModifiers modifiers)
{
    std::int16_t code = 0;
    if (modifiers & Qt::ShiftModifier) code |= 1;
    if (modifiers & Qt::ControlModifier) code |= 2;
    if (modifiers & Qt::AltModifier) code |= 4;
    return code;
}

std::int16_t KeyCode(int qtKey)
{
    if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter)
        return vbKeyReturn;
    return static_cast<std::int16_t>(qtKey);
}
