#include "CommandFolder.h"

#include "support/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
constexpr int kRunLimitMs = 120'000;   // a hung program fails the test instead of blocking

// A pseudo-terminal: the program writes to the side named by SideName(), we read the other.
class PseudoTerminal {
public:
    PseudoTerminal() : master_(posix_openpt(O_RDWR | O_NOCTTY))
    {
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            return;
        const winsize size{24, 100, 0, 0};
        ioctl(master_, TIOCSWINSZ, &size);
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
    ~PseudoTerminal()
    {
        if (master_ >= 0)
            close(master_);
    }
    QString SideName() const { return master_ >= 0 ? QString::fromLocal8Bit(ptsname(master_)) : QString(); }
    // Everything written so far.
    QByteArray ReadAll() const
    {
        QByteArray text;
        char buffer[4096];
        for (ssize_t n; (n = read(master_, buffer, sizeof buffer)) > 0;)
            text.append(buffer, n);
        return text;
    }

private:
    int master_;
};

CommandFolder::Result Finish(QProcess& process)
{
    CommandFolder::Result result;
    if (!process.waitForFinished(kRunLimitMs)) {
        ADD_FAILURE() << "layerpix-compose did not finish";
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}
} // namespace

CommandFolder::CommandFolder()
{
    valid_ = root_.isValid() && QDir(root_.path()).mkpath(QStringLiteral("program")) &&
             QDir(root_.path()).mkpath(QStringLiteral("config")) &&
             QFile::copy(QStringLiteral(LAYERPIX_COMPOSE), Program());
}

QString CommandFolder::Path(const QString& relative) const
{
    const QString path = root_.filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    return path;
}

QString CommandFolder::SavePicture(const QImage& picture, const QString& relative) const
{
    const QString path = Path(relative);
    EXPECT_TRUE(picture.save(path, nullptr, 90)) << path.toStdString();
    return path;
}

QString CommandFolder::WriteFile(const QString& relative, const QByteArray& bytes) const
{
    const QString path = Path(relative);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        << path.toStdString();
    return path;
}

QByteArray CommandFolder::ReadFile(const QString& relative) const
{
    QFile file(root_.filePath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList CommandFolder::Entries(const QString& relative) const
{
    return QDir(root_.filePath(relative))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void CommandFolder::Prepare(QProcess& process) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root_.filePath(QStringLiteral("config")));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(root_.path());
}

CommandFolder::Result CommandFolder::Run(const QStringList& arguments, const QByteArray& input) const
{
    QProcess process;
    Prepare(process);
    process.start(Program(), arguments);
    process.write(input);
    process.closeWriteChannel();
    return Finish(process);
}

CommandFolder::Result CommandFolder::RunOnTerminal(const QStringList& arguments) const
{
    const PseudoTerminal terminal;
    EXPECT_FALSE(terminal.SideName().isEmpty());
    QProcess process;
    Prepare(process);
    process.setStandardErrorFile(terminal.SideName());
    process.start(Program(), arguments);
    process.closeWriteChannel();
    Result result = Finish(process);
    result.err = terminal.ReadAll();
    return result;
}

QImage KeyedLogo(int width, int height)
{
    QImage logo(width, height, QImage::Format_RGB32);
    logo.fill(QColor(0xFF, 0x00, 0xFF));
    QPainter(&logo).drawImage(width / 4, height / 4, NoisePicture(width / 2, height / 2, 7));
    return logo;
}
