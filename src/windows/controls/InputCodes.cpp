#include "windows/controls/InputCodes.h"

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
    if (modifiers & Qt::ShiftModifier) code |= vbShiftMask;
    if (modifiers & Qt::ControlModifier) code |= vbCtrlMask;
    if (modifiers & Qt::AltModifier) code |= vbAltMask;
    return code;
}

std::int16_t KeyCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Left: return vbKeyLeft;
    case Qt::Key_Up: return vbKeyUp;
    case Qt::Key_Right: return vbKeyRight;
    case Qt::Key_Down: return vbKeyDown;
    default: return static_cast<std::int16_t>(qtKey);
    }
}
