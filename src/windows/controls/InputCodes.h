#pragma once
#include <Qt>
#include <cstdint>

// Mouse buttons, shift states and key codes as the handlers receive them.
constexpr std::int16_t vbLeftButton = 1;
constexpr std::int16_t vbRightButton = 2;
constexpr std::int16_t vbMiddleButton = 4;
constexpr std::int16_t vbKeyReturn = 13;
constexpr std::int16_t vbKeyLeft = 37;
constexpr std::int16_t vbKeyUp = 38;
constexpr std::int16_t vbKeyRight = 39;
constexpr std::int16_t vbKeyDown = 40;
// Shift states, combined.
constexpr std::int16_t vbShiftMask = 1;
constexpr std::int16_t vbCtrlMask = 2;
constexpr std::int16_t vbAltMask = 4;

// One button (a press or a release) or the set of buttons held (a move).
std::int16_t ButtonCode(Qt::MouseButtons buttons);
// The masks of the keys held, combined.
std::int16_t ShiftCode(Qt::KeyboardModifiers modifiers);
// Enter and the keypad's Enter are 13 and the arrow keys 37 to 40 (left, up, right, down);
// other keys keep Qt's code, narrowed, which for digits and letters is their ASCII code.
std::int16_t KeyCode(int qtKey);
