#include "codec/PngCommon.h"

#include "codec/CodecInternal.h"

#include <cstdio>

namespace {

[[noreturn]] void JumpOnError(png_structp png, png_const_charp message)
{
    auto* sink = static_cast<PngErrorSink*>(png_get_error_ptr(png));
    std::snprintf(sink->message, sizeof sink->message, "%s", message);
    png_longjmp(png, 1);
}

// Warnings are about data the codec can do without.
void IgnoreWarning(png_structp, png_const_charp) {}

} // namespace

PngStructs::PngStructs(Mode mode, PngErrorSink& sink) : mode_(mode)
{
    png_ = mode == Mode::Read
               ? png_create_read_struct(PNG_LIBPNG_VER_STRING, &sink, JumpOnError, IgnoreWarning)
               : png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, JumpOnError, IgnoreWarning);
    if (png_ != nullptr)
        info_ = png_create_info_struct(png_);
}

PngStructs::~PngStructs()
{
    if (mode_ == Mode::Read)
        png_destroy_read_struct(&png_, &info_, nullptr);
    else
        png_destroy_write_struct(&png_, &info_);
}

std::int16_t PngFailure(const Failure& what, const PngErrorSink& sink)
{
    return CodecFailure(WithLibraryMessage(what, sink.message));
}
