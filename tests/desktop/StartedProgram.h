#pragma once
// Programs a test starts, each in a process group of its own that the test ends whole, and
// bound to the test process so the kernel ends it when the test dies: nothing outlives a test.
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <chrono>
#include <csignal>
#include <grp.h>
#include <memory>
#include <optional>
#include <sys/prctl.h>
#include <unistd.h>

using namespace std::chrono_literals;

struct StartOptions {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString folder;          // working folder; empty: the test's own
    bool asNobody = false;   // run as the user and group 65534; needs root
};

class StartedProgram {
public:
    StartedProgram(const QString& program, const QStringList& arguments, const StartOptions& options = {})
    {
        process_->setProcessEnvironment(options.environment);
        process_->setWorkingDirectory(options.folder);
        // Runs in the child between fork and exec: only calls that are safe there.
        process_->setChildProcessModifier([asNobody = options.asNobody] {
            setsid();
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (asNobody && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
                _exit(126);
        });
        process_->start(program, arguments);
        if (process_->waitForStarted(10000))
            group_ = process_->processId();
    }
    ~StartedProgram()
    {
        if (group_ != 0)
            ::kill(-pid_t(group_), SIGKILL);
        if (process_->state() != QProcess::NotRunning)
            process_->waitForFinished(5000);
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool Started() const { return group_ != 0; }
    // False if it still runs after `limit`.
    bool WaitForExit(std::chrono::milliseconds limit)
    {
        return process_->state() == QProcess::NotRunning || process_->waitForFinished(int(limit.count()));
    }
    int ExitCode() const { return process_->exitCode(); }
    // The next line of its standard output, if one comes within `limit`.
    std::optional<QByteArray> ReadLine(std::chrono::milliseconds limit)
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!process_->canReadLine())
            if (std::chrono::steady_clock::now() > deadline || !process_->waitForReadyRead(int(limit.count())))
                return std::nullopt;
        return process_->readLine().trimmed();
    }
    QByteArray Output() { return process_->readAllStandardOutput(); }
    QByteArray Errors() { return process_->readAllStandardError(); }

private:
    std::unique_ptr<QProcess> process_ = std::make_unique<QProcess>();
    qint64 group_ = 0;
};

struct RunResult {
    bool finished = false;   // false: it did not start or did not end within the limit
    int exitCode = -1;
    QByteArray output, errors;
};

inline RunResult RunToEnd(const QString& program, const QStringList& arguments,
                          std::chrono::milliseconds limit = 10s, const StartOptions& options = {})
{
    StartedProgram child(program, arguments, options);
    if (!child.Started() || !child.WaitForExit(limit))
        return {};
    return {true, child.ExitCode(), child.Output(), child.Errors()};
}

// Asks `condition` every 50 ms until it holds or `limit` has passed; returns the last answer.
template <typename Condition>
bool Eventually(Condition condition, std::chrono::milliseconds limit = 15s)
{
    for (const auto deadline = std::chrono::steady_clock::now() + limit; !condition(); QThread::msleep(50))
        if (std::chrono::steady_clock::now() > deadline)
            return false;
    return true;
}

inline bool OnPath(const QString& program) { return !QStandardPaths::findExecutable(program).isEmpty(); }
