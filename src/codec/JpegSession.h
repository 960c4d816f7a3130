#pragma once
// A libjpeg session as the codec runs one: an error jumps back to the caller with
// libjpeg's message kept, and warnings are not printed.
#include "base/Failure.h"

#include <csetjmp>
#include <cstdio>
#include <string>
#include <jpeglib.h>

struct ErrorManager {
    jpeg_error_mgr library;   // first, so that libjpeg's pointer to it is one to this
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

inline void JumpOut(j_common_ptr info)
{
    auto* error = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, error->message);
    std::longjmp(error->jump, 1);
}

inline void StayQuiet(j_common_ptr) {}

// Runs `body`, which calls libjpeg, and says whether it ended without a libjpeg error. An
// error jumps from the library straight back here, past `body`'s frame, so `body` must hold
// nothing that has a destructor; what it fills is made beforehand.
template <typename Body>
bool Guarded(ErrorManager& error, const Body& body)
{
    if (setjmp(error.jump) != 0)
        return false;
    body();
    return true;
}

template <typename Info, void (*Destroy)(Info*)>
struct Session {
    Info info{};
    ErrorManager error{};

    Session()
    {
        info.err = jpeg_std_error(&error.library);
        error.library.error_exit = JumpOut;
        error.library.output_message = StayQuiet;
    }
    ~Session() { Destroy(&info); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Failure Why(const char* english, const char* japanese) const
    {
        return {std::string(english) + ": " + error.message, std::string(japanese) + ": " + error.message};
    }
};
inline void DestroyDecompress(jpeg_decompress_struct* info) { jpeg_destroy_decompress(info); }
inline void DestroyCompress(jpeg_compress_struct* info) { jpeg_destroy_compress(info); }
using Decompressor = Session<jpeg_decompress_struct, DestroyDecompress>;
using Compressor = Session<jpeg_compress_struct, DestroyCompress>;
