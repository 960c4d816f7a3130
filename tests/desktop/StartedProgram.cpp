#include "StartedProgram.h"

#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <grp.h>
#include <sys/prctl.h>
#include <unistd.h>

StartedProgram::StartedProgram(const QString& program, const QStringList& arguments,
                               const StartOptions& options)
    : process_(std::make_unique<QProcess>())
{
    process_->setProcessEnvironment(options.environment);
    if (!options.folder.isEmpty())
        process_->setWorkingDirectory(options.folder);
    const std::optional<uid_t> user = options.user;
    const std::optional<gid_t> group = options.group;
    // Runs in the child between fork and exec: only calls that are safe there.
    process_->setChildProcessModifier([user, group] {
        setsid();
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (group && (setgroups(0, nullptr) != 0 || setgid(*group) != 0))
            _exit(126);
        if (user && setuid(*user) != 0)
            _exit(126);
    });
    process_->start(program, arguments);
    if (process_->waitForStarted(10000))
        group_ = process_->processId();
}

StartedProgram::~StartedProgram()
{
    End();
}

bool StartedProgram::Started() const
{
    return group_ != 0;
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
    RunResult result;
    if (!child.Started() || !child.WaitForExit(limit))
        return result;
    result.finished = true;
    result.exitCode = child.ExitCode();
    result.output = child.Output();
    result.errors = child.Errors();
    return result;
}

void Pause(std::chrono::milliseconds time)
{
    QThread::msleep(static_cast<unsigned long>(time.count()));
}

bool OnPath(const QString& program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}
