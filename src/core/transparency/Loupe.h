#pragma once
#include <cstdint>

class Surface;

// Clears the loupe to its background, then draws the picture pixels around picture point
// (pointerX, pointerY) enlarged LoupeZoom times by nearest neighbour, placed so that the
// pointer's pixel lands on the loupe's centre cell; cells off the picture stay blank.
// The pointer may lie outside the picture. The loupe is refreshed on screen.
void DrawLoupe(Surface& loupe, const Surface& picture, std::int32_t pointerX,
               std::int32_t pointerY);
