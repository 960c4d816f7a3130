#pragma once
// Temporary files that must not outlive the process: a save in progress keeps its
// temporary file here, so that a stop signal arriving in the middle of the save (Ctrl+C,
// a logout, `kill`, the file-size limit) removes it before the process ends.
// Plain POSIX, no Qt: the picture codec uses it too.
#include <csignal>

// The stop signals watched: those whose default action ends the process and that a
// process can catch (hang-up, interrupt, quit, terminate, CPU and file-size limits).
inline constexpr int kStopSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGXCPU, SIGXFSZ};

// Registers the file `path` for removal while the object lives. At each registration,
// every stop signal whose action is still the default gets a handler that removes all
// registered files, restores the default action and raises the signal again, so the
// process ends as it would have, only without the files. A signal that is ignored or
// has a handler of its own (the program's or a library's) is left to that owner.
// At most 1024 files are watched at once (a path of up to 4095 bytes each); further ones
// are not watched. Register before creating the file, so that no moment is unwatched.
class InFlightFile {
public:
    explicit InFlightFile(const char* path);
    ~InFlightFile();
    InFlightFile(const InFlightFile&) = delete;
    InFlightFile& operator=(const InFlightFile&) = delete;

private:
    int slot_ = -1;
};
