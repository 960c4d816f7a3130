#pragma once
#include <Qt>
#include <cstdint>

// Mouse buttons, shift states and key codes as the handlers receive them.
constexpr std::int16_t vbLeftButton = 1;
constexpr std::int16_t vbRightButton = 2;
constexpr std::int16_t vbMiddleButton = 4;
constexpr std::int16_t vbKeyReturn = 13;

// One button (a press or a release) or the set of buttons held (a move).
std::int16_t ButtonCode(Qt::MouseButtons buttons);
// Shift 1, Ctrl 2, Alt 4, combined.
std::int16_t ShiftCode(Qt::KeyboardModifiers modifiers);
// Enter and the keypad's Enter are 13; other keys keep Qt's code, narrowed.
std::int16_t KeyCode(int qtKey);
