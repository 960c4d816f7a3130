#pragma once
#include <cstdint>

// Where the foreground's top-left corner lies on the background, in pixels. Any value is
// allowed, negative or beyond the background. Loading a picture into either slot resets
// both to 0; a drag in the composite view sets them.
extern std::int32_t FrontX;
extern std::int32_t FrontY;
