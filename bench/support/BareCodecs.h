#pragma once
// The least a program must do to read or write a picture file with the same libraries:
// the floors of the loading and saving benchmarks. Pixels are 32-bit blue, green, red,
// unused (a QImage::Format_RGB32 row), rows `stride` bytes apart, top row first; the
// caller's buffers are allocated and touched beforehand, so only the decoding or the
// encoding and the file's bytes are timed. A saved file is synced to the disk before it is
// closed, as the program's saving does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads the whole file into `bytes`, which keeps its capacity from call to call.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// libjpeg-turbo's TurboJPEG decode of the file's bytes into `pixels`.
bool BareJpegDecode(const std::vector<std::uint8_t>& file, std::uint8_t* pixels, int width,
                    int height, int stride);
// libpng's decode of the file straight from disk into `pixels`.
bool BarePngDecode(const std::string& path, std::uint8_t* pixels, int width, int height,
                   int stride);
// A 24-bit bottom-up bitmap file's bytes spread into `pixels`.
bool BareBmpDecode(const std::vector<std::uint8_t>& file, std::uint8_t* pixels, int width,
                   int height, int stride);

// TurboJPEG's encode at `quality` with 4:2:0 chroma into `scratch`, saved as `path`.
bool BareJpegSave(const std::uint8_t* pixels, int width, int height, int stride, int quality,
                  bool progressive, std::vector<std::uint8_t>& scratch, const std::string& path);
// libpng's encode as 8-bit RGB at zlib `level`, saved as `path` as it goes.
bool BarePngSave(const std::uint8_t* pixels, int width, int height, int stride, int level,
                 const std::string& path);
// A 24-bit bottom-up bitmap file packed into `scratch` and saved as `path`.
bool BareBmpSave(const std::uint8_t* pixels, int width, int height, int stride,
                 std::vector<std::uint8_t>& scratch, const std::string& path);
