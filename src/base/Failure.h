#pragma once
// Failures the whole program words alike.
#include "base/Result.h"

#include <cstdint>
#include <string>

// The system's own reason for the error number `error` (an errno value).
std::string EnglishSystemReason(int error);
std::string JapaneseSystemReason(int error);

// What a file operation was doing when the system refused it.
enum class FileStep {
    Open,        // "cannot open PATH"
    Read,        // "cannot read PATH"
    Write,       // "cannot write PATH"
    Replace,     // "cannot replace PATH"
    CreateIn,    // "cannot create a file in FOLDER"
    FollowLink,  // "cannot follow the link PATH"
    MakeFolder,  // "cannot make the folder PATH"
};

// "<step> <path>: <the system's reason>", in both languages. An empty path leaves the name
// out ("cannot open the file: ...") where the reader names the file already.
Failure FileFailure(FileStep step, const std::string& path, int error);

// A pipe, a device or a socket where a file is read.
Failure NotAPlainFile();

// A file that is to be kept had its name taken, when the name is its own.
Failure ExistsAlready();

// Memory for a picture or a buffer could not be had.
Failure OutOfMemory();

// A picture's size as every reason words it: "640 x 480".
std::string SizeWords(std::int64_t width, std::int64_t height);

// A picture of width x height pixels is more than the program agrees to hold.
Failure SizeBeyondLimit(std::int64_t width, std::int64_t height);

// A file too short for the picture of width x height pixels its header states.
Failure TooShortForSize(std::int64_t width, std::int64_t height);

// A file was to be read or written, but no name was given.
Failure NoFileName();

// A file that should be a PNG file lacks the PNG signature.
Failure NotAPngFile();
