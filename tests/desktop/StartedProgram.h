#pragma once
// Programs a test starts, bound to the test process so that the kernel ends them when the test
// dies; otherwise they end with the test.
#include <QProcess>
#include <QStandardPaths>
#include <chrono>
#include <csignal>
#include <grp.h>
#include <sys/prctl.h>
#include <unistd.h>

using namespace std::chrono_literals;

struct StartOptions {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString folder;          // working folder; empty: the test's own
    bool asNobody = false;   // run as the user and group 65534; needs root
};

struct StartedProgram {
    StartedProgram(const QString& program, const QStringList& arguments, const StartOptions& options = {})
    {
        process.setProcessEnvironment(options.environment);
        process.setWorkingDirectory(options.folder);
        // Runs in the child between fork and exec: only calls that are safe there. Without a session of
        // its own, the program on the X server now and then finds no display.
        process.setChildProcessModifier([asNobody = options.asNobody] {
            setsid();
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (asNobody && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
                _exit(126);
        });
        process.start(program, arguments);
        process.waitForStarted(10000);
    }
    // False if it still runs after `limit`.
    bool WaitForExit(std::chrono::milliseconds limit)
    {
        return process.state() == QProcess::NotRunning || process.waitForFinished(int(limit.count()));
    }

    // Asked to end first, so that an X server removes its socket and lock file; killed if it will not.
    ~StartedProgram()
    {
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
    }

    QProcess process;
};

struct RunResult {
    int exitCode = -1;   // -1: it did not start or did not end within the limit
    QByteArray output, errors;
};
inline RunResult RunToEnd(const QString& program, const QStringList& arguments, std::chrono::milliseconds limit = 10s,
                          const StartOptions& options = {})
{
    StartedProgram child(program, arguments, options);
    if (child.process.error() == QProcess::FailedToStart || !child.WaitForExit(limit)
        || child.process.exitStatus() != QProcess::NormalExit)
        return {};
    return {child.process.exitCode(), child.process.readAllStandardOutput(), child.process.readAllStandardError()};
}

inline bool OnPath(const QString& program) { return !QStandardPaths::findExecutable(program).isEmpty(); }
