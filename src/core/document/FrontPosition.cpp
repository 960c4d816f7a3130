#include "core/document/FrontPosition.h"

std::int32_t FrontX = 0;
std::int32_t FrontY = 0;
