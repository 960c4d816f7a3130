#pragma once
// Shared by the codec's own files; not part of what the rest of the program sees.
#include "codec/Codec.h"
#include "files/SafeFile.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

inline constexpr std::int16_t kCodecOk = 0;
inline constexpr std::int16_t kCodecFailed = 1;

// Forget the reason of an earlier call; each entry point starts with this.
void ClearCodecFailure();
// Record `failure` as the reason of the current call's failure and return kCodecFailed.
std::int16_t CodecFailure(Failure failure);

// A surface whose rows hold fewer bytes than its width of 4-byte pixels.
Failure ShortSurfaceRows();
// `what` followed by ": <message>" in each language: libpng and TurboJPEG word their
// messages in English alone.
Failure WithLibraryMessage(const Failure& what, const char* message);

// kCodecOk when (0, 0, width, height) is a non-empty rectangle inside the surface `dc`.
std::int16_t CheckSourceRect(HDC dc, std::int32_t width, std::int32_t height);

// Gives the file `path` the bytes of `pieces` as WriteFileSafely (files/SafeFile.h) does,
// with its reason as the call's failure.
std::int16_t WriteFileWith(const char* path, std::span<const ByteRange> pieces, Existing existing);
