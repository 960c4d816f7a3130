#pragma once
// What the PNG reader and writer share: libpng's structures and its error reporting.
// libpng reports errors by calling a handler that must not return; the codec's handler
// keeps libpng's message and jumps back to the latest setjmp on png_jmpbuf.
#include "base/Result.h"

#include <cstdint>
#include <png.h>

struct PngErrorSink {
    char message[160] = {};
};

// libpng's structures for reading or writing one picture, reporting errors to `sink`, which
// must outlive them. Freed on destruction.
class PngStructs {
public:
    enum class Mode { Read, Write };
    PngStructs(Mode mode, PngErrorSink& sink);
    ~PngStructs();
    PngStructs(const PngStructs&) = delete;
    PngStructs& operator=(const PngStructs&) = delete;

    // False when libpng could not allocate them.
    explicit operator bool() const { return info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    Mode mode_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// Records `what` followed by libpng's message as the reason (WithLibraryMessage) and returns
// the failure result.
std::int16_t PngFailure(const Failure& what, const PngErrorSink& sink);
