#include "files/InFlightFiles.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <unistd.h>

namespace {

// More than the batch's 256 workers can have in flight at once. A slot's path is only read
// by the signal handler, so slots never touched cost no memory.
constexpr int kSlots = 1024;
constexpr std::size_t kPathBytes = 4096;

// One watched path. The signal handler cannot wait for a thread that is changing a slot, so
// `version` is odd while the path changes, and the handler trusts a path only when it read
// the same even version before and after copying it.
struct Slot {
    std::atomic<bool> taken{false};
    std::atomic<unsigned> version{0};
    char path[kPathBytes] = {};
};

Slot slots[kSlots];

void SetPath(Slot& slot, const char* path)
{
    const unsigned version = slot.version.load(std::memory_order_relaxed);
    slot.version.store(version + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    std::strcpy(slot.path, path);
    slot.version.store(version + 2, std::memory_order_release);
}

// Only async-signal-safe calls from here on.
extern "C" void RemoveInFlightFiles(int signal)
{
    const int savedErrno = errno;
    for (Slot& slot : slots) {
        const unsigned before = slot.version.load(std::memory_order_acquire);
        if (before % 2 != 0)
            continue;
        char path[kPathBytes];
        std::size_t i = 0;
        for (; i + 1 < kPathBytes && slot.path[i] != '\0'; ++i)
            path[i] = slot.path[i];
        path[i] = '\0';
        std::atomic_thread_fence(std::memory_order_acquire);
        if (slot.version.load(std::memory_order_relaxed) == before && path[0] != '\0')
            ::unlink(path);
    }
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    ::sigaction(signal, &defaultAction, nullptr);
    // Blocked until this handler returns, then delivered with its default action.
    ::raise(signal);
    errno = savedErrno;
}

void WatchStopSignals()
{
    struct sigaction ours {};
    ours.sa_handler = RemoveInFlightFiles;
    sigemptyset(&ours.sa_mask);
    for (const int signal : kStopSignals)
        sigaddset(&ours.sa_mask, signal);
    ours.sa_flags = SA_RESTART;
    for (const int signal : kStopSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0)
            continue;
        if ((current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_DFL)
            ::sigaction(signal, &ours, nullptr);
    }
}

} // namespace

InFlightFile::InFlightFile(const char* path)
{
    if (std::strlen(path) >= kPathBytes)
        return;
    WatchStopSignals();
    for (int i = 0; i < kSlots; ++i) {
        if (!slots[i].taken.exchange(true, std::memory_order_acquire)) {
            SetPath(slots[i], path);
            slot_ = i;
            return;
        }
    }
}

InFlightFile::~InFlightFile()
{
    if (slot_ < 0)
        return;
    SetPath(slots[slot_], "");
    slots[slot_].taken.store(false, std::memory_order_release);
}
