#pragma once
// Programs a test starts, each in a session of its own (without one, the program on the X server
// now and then finds no display) and bound to the test process, so that the kernel ends them if
// the test dies; else they are asked to end with it (an X server then removes its socket and lock
// file) and killed if they will not.
#include <QProcess>
#include <QStandardPaths>
#include <chrono>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

using namespace std::chrono_literals;

struct StartedProgram {
    StartedProgram(const QString& program, const QStringList& arguments,
                   const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                   const QString& workingFolder = {})
    {
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(workingFolder);
        // Runs in the child between fork and exec: only calls that are safe there.
        process.setChildProcessModifier([] {
            setsid();
            prctl(PR_SET_PDEATHSIG, SIGKILL);
        });
        process.start(program, arguments);
        process.waitForStarted(10000);
    }
    ~StartedProgram()
    {
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
    }

    QProcess process;
};

struct RunResult {
    int exitCode = -1;   // -1: it did not start, crashed or did not end within the limit
    QByteArray output, errors;
};
inline RunResult RunToEnd(const QString& program, const QStringList& arguments, std::chrono::milliseconds limit = 10s,
                          const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                          const QString& workingFolder = {})
{
    StartedProgram child(program, arguments, environment, workingFolder);
    if (!child.process.waitForFinished(int(limit.count())) || child.process.exitStatus() != QProcess::NormalExit)
        return {};
    return {child.process.exitCode(), child.process.readAllStandardOutput(), child.process.readAllStandardError()};
}

inline bool OnPath(const QString& program) { return !QStandardPaths::findExecutable(program).isEmpty(); }
