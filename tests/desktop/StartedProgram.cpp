#include "StartedProgram.h"

#include <QStandardPaths>
#include <csignal>
#include <grp.h>
#include <sys/prctl.h>
#include <unistd.h>

StartedProgram::StartedProgram(const QString& program, const QStringList& arguments,
                               const StartOptions& options)
    : process_(std::make_unique<QProcess>())
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

bool StartedProgram::WaitForExit(std::chrono::milliseconds limit)
{
    return process_->state() == QProcess::NotRunning ||
           process_->waitForFinished(int(limit.count()));
}

std::optional<QByteArray> StartedProgram::ReadLine(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!process_->canReadLine()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left <= 0ms || !process_->waitForReadyRead(int(left.count())))
            return std::nullopt;
    }
    return process_->readLine().trimmed();
}

void StartedProgram::End()
{
    if (group_ != 0)
        ::kill(-pid_t(group_), SIGKILL);
    group_ = 0;
    if (process_->state() != QProcess::NotRunning)
        process_->waitForFinished(5000);
}

RunResult RunToEnd(const QString& program, const QStringList& arguments,
                   std::chrono::milliseconds limit, const StartOptions& options)
{
    StartedProgram child(program, arguments, options);
    if (!child.Started() || !child.WaitForExit(limit))
        return {};
    return {true, child.ExitCode(), child.Output(), child.Errors()};
}

bool OnPath(const QString& program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}
