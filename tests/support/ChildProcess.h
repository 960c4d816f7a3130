#pragma once
// Part of a test run in a forked copy of the test process: to act as an ordinary user, lower
// the file-size limit or be ended by a signal without changing the test process itself. Fork
// only from a PURE test program (no QApplication). The body must not use gtest assertions: it
// returns a text that the test checks.
#include <functional>
#include <grp.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

struct ChildOutcome {
    int exitCode = -1;  // the exit status when the copy exited, otherwise -1
    int signal = 0;     // the signal that ended the copy, otherwise 0
    std::string output; // what the body returned
};

// A copy of this process running `body`, which then exits with 0, or 1 when its text could not
// be passed on. No core file is written.
class Child {
public:
    explicit Child(const std::function<std::string()>& body)
    {
        int channel[2];
        if (::pipe(channel) != 0 || (pid_ = ::fork()) < 0)
            return;
        if (pid_ == 0) {
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            const std::string output = body();
            ::_exit(::write(channel[1], output.data(), output.size()) == ssize_t(output.size()) ? 0 : 1);
        }
        ::close(channel[1]);
        channel_ = channel[0];
    }
    Child(const Child&) = delete;
    ~Child() { Wait(); }

    ChildOutcome Wait()
    {
        if (channel_ < 0)
            return outcome_;
        char buffer[4096];
        for (ssize_t got; (got = ::read(channel_, buffer, sizeof buffer)) > 0;)
            outcome_.output.append(buffer, std::size_t(got));
        ::close(std::exchange(channel_, -1));
        int status = 0;
        ::waitpid(pid_, &status, 0);
        outcome_.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        outcome_.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        return outcome_;
    }
    pid_t Pid() const { return pid_; }
    // True once the copy has ended (its outcome is then still to be collected by Wait).
    bool Ended() const
    {
        siginfo_t info{};
        return channel_ < 0
               || (::waitid(P_PID, id_t(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0);
    }

private:
    pid_t pid_ = -1;
    int channel_ = -1;
    ChildOutcome outcome_;
};

inline ChildOutcome RunInChild(const std::function<std::string()>& body) { return Child(body).Wait(); }

// Root passes every permission check, so a test of permissions gives up root's privileges for
// those of "nobody" (65534) first. True when the process now obeys file permissions; otherwise
// the body returns kNoOrdinaryUser and the test is skipped.
inline bool ActAsAnOrdinaryUser()
{
    return ::geteuid() != 0 || (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0);
}
inline const std::string kNoOrdinaryUser = "<cannot act as an ordinary user>";
