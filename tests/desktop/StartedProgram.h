#pragma once
// Programs that a test starts: each in a process group of its own, which the test ends with
// everything in it, and bound to the test process, so the kernel ends it when the test dies.
// Nothing a test starts outlives it, whether it passes, fails or crashes.
#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QThread>
#include <chrono>
#include <memory>
#include <optional>

using namespace std::chrono_literals;

struct StartOptions {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString folder;          // working folder; empty: the test's own
    bool asNobody = false;   // run as the user and group 65534; needs root
};

class StartedProgram {
public:
    StartedProgram(const QString& program, const QStringList& arguments,
                   const StartOptions& options = {});
    ~StartedProgram() { End(); }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool Started() const { return group_ != 0; }
    // Waits until the program ends by itself; false if it is still running after `limit`.
    bool WaitForExit(std::chrono::milliseconds limit);
    int ExitCode() const { return process_->exitCode(); }
    // Waits for the next line of its standard output.
    std::optional<QByteArray> ReadLine(std::chrono::milliseconds limit);
    // What it has written so far and not yet been read.
    QByteArray Output() { return process_->readAllStandardOutput(); }
    QByteArray Errors() { return process_->readAllStandardError(); }
    // Ends the program and everything it started.
    void End();

private:
    std::unique_ptr<QProcess> process_;
    qint64 group_ = 0;
};

struct RunResult {
    bool finished = false;   // false: it did not start or did not end in time
    int exitCode = -1;
    QByteArray output, errors;
};

// Runs a program to its end, at most for `limit`, and ends it if it takes longer.
RunResult RunToEnd(const QString& program, const QStringList& arguments,
                   std::chrono::milliseconds limit = 10s, const StartOptions& options = {});

// Asks `condition` every 50 ms until it holds or `limit` has passed; returns the last answer.
template <typename Condition>
bool Eventually(Condition condition, std::chrono::milliseconds limit = 15s)
{
    for (const auto deadline = std::chrono::steady_clock::now() + limit; !condition();
         QThread::msleep(50))
        if (std::chrono::steady_clock::now() > deadline)
            return false;
    return true;
}

// Whether `program` can be found on the PATH.
bool OnPath(const QString& program);
