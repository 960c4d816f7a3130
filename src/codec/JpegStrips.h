#pragma once
// A large baseline JPEG is encoded as horizontal strips, several at once, and the strips'
// files are joined into one with a restart marker between strips. After a restart marker a
// decoder starts afresh, as an encoder does at the start of a file; and no strip's pixels
// depend on another's, the strips being whole rows of 16 x 16 blocks whose chroma is
// averaged within each 2 x 2 pixels. So the joined file decodes to the very pixels of one
// encoded in one piece, and holds exactly the bytes TurboJPEG writes when asked for a
// restart marker every strip.
#include "files/SafeFile.h"

#include <cstdint>
#include <span>
#include <vector>

struct JpegStrips {
    int rows;       // pixel rows of each strip but the last, which may have fewer
    int count;      // 1: the picture is encoded whole, without restart markers
    int interval;   // 16 x 16 blocks in each strip but the last
};

// The strips depend on the picture's size alone, so a picture gives the same file on every
// machine, whatever its number of cores.
JpegStrips PlanJpegStrips(int width, int height);

struct JoinedJpeg {
    std::vector<std::uint8_t> restartInterval;   // the marker that states the interval
    std::vector<ByteRange> pieces;               // the file, in order; none when joining failed
};

// Joins the strips' files, made by one encoder with the same settings as `plan` cuts the
// picture of `height` rows, into the pieces of one file; the pieces lie in the strips' own
// buffers. The first strip's frame header is given the whole height in place. Fails when a
// strip is not a single-scan baseline file without restart markers, or its headers and
// tables differ from the first strip's (an encoder told by its environment to fit Huffman
// tables to the pixels, say).
JoinedJpeg JoinJpegStrips(std::span<const std::span<std::uint8_t>> strips, int height,
                          const JpegStrips& plan);
