#pragma once
// The fixed codes of the handlers that take a button, shift state or key code: the controls
// report Qt's own values, and the windows derive these where such a handler is called.
#include <Qt>
#include <cstdint>

constexpr std::int16_t vbLeftButton = 1;
constexpr std::int16_t vbRightButton = 2;
constexpr std::int16_t vbMiddleButton = 4;
constexpr std::int16_t vbKeyReturn = 13;
// Shift states, combined.
constexpr std::int16_t vbShiftMask = 1;
constexpr std::int16_t vbCtrlMask = 2;
constexpr std::int16_t vbAltMask = 4;

// One button (a press or a release) or the set of buttons held (a move).
std::int16_t ButtonCode(Qt::MouseButtons buttons);
// The masks of the keys held, combined.
std::int16_t ShiftCode(Qt::KeyboardModifiers modifiers);
// Enter and the keypad's Enter are 13, letters and digits their upper-case ASCII code; every
// other key has no code of its own and gives 0, so no key can pass for another.
std::int16_t KeyCode(int qtKey);
