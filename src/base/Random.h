#pragma once
#include "base/ColorRef.h"

// The program's uniform pseudo-random generator, never seeded by the program: the
// next number in [0, 1).
double Rnd();

// A colour from three successive numbers, red, green, blue, each times 255 rounded
// halves to even: the blinking markers' colours.
ColorRef RandomColour();
