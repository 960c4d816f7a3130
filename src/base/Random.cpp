#include "base/Random.h"

#include "base/Rounding.h"

#include <random>

double Rnd()
{
    static std::mt19937 generator;
    static std::uniform_real_distribution<double> uniform(0.0, 1.0);
    return uniform(generator);
}

ColorRef RandomColour()
{
    const int red = int(RoundHalfEven(Rnd() * 255));
    const int green = int(RoundHalfEven(Rnd() * 255));
    const int blue = int(RoundHalfEven(Rnd() * 255));
    return RGB(red, green, blue);
}
