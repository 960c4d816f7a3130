#pragma once
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>

class Surface;

// The bytes of a file under tests/data ("gif/hopper.gif").
QByteArray TestDataFile(const QString& file);
// Writes `bytes` to the file `path` and gives back its path; a failure fails the running test.
QString WriteFile(const QString& path, QByteArrayView bytes);

// Pictures for tests, all QImage::Format_RGB32.

// A smooth colour ramp, which lossy encoders keep within a few levels.
QImage GradientPicture(int width, int height);
// Every pixel different from its neighbours, from a fixed seed.
QImage NoisePicture(int width, int height, std::uint32_t seed);
// The bytes of `picture` saved by Qt in `format` ("BMP", "PNG", "JPG", "PPM"...).
QByteArray EncodedPicture(const QImage& picture, const char* format);

// A surface that takes the size of the picture assigned to it, as a slot's holder does,
// holding `picture`.
std::unique_ptr<Surface> SurfaceHolding(const QImage& picture);
