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

CommandFolder::CommandFolder()
{
    valid_ = root_.isValid() && QDir(root_.path()).mkpath(QStringLiteral("config")) &&
             QFile::copy(QStringLiteral(LAYERPIX_COMPOSE), Path("program/layerpix-compose"));
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
    QFile file(Path(relative));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    return file.fileName();
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

CommandFolder::Result CommandFolder::Run(const QStringList& arguments, const QByteArray& input,
                                         bool onTerminal) const
{
    QProcess process;
    int terminal = -1;
    if (onTerminal) {
        terminal = posix_openpt(O_RDWR | O_NOCTTY);
        EXPECT_TRUE(terminal >= 0 && grantpt(terminal) == 0 && unlockpt(terminal) == 0);
        const winsize size{24, 100, 0, 0};
        ioctl(terminal, TIOCSWINSZ, &size);
        process.setStandardErrorFile(QString::fromLocal8Bit(ptsname(terminal)));
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root_.filePath(QStringLiteral("config")));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(root_.path());
    process.start(root_.filePath(QStringLiteral("program/layerpix-compose")), arguments);
    process.write(input);
    process.closeWriteChannel();
    Result result;
    if (process.waitForFinished(120'000)) {   // a hung program fails the test, not blocks it
        result = {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                  process.readAllStandardOutput(), process.readAllStandardError()};
    } else {
        ADD_FAILURE() << "layerpix-compose did not finish";
        process.kill();
        process.waitForFinished();
    }
    if (terminal >= 0) {
        fcntl(terminal, F_SETFL, O_NONBLOCK);
        char buffer[4096];
        for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;)
            result.err.append(buffer, n);
        close(terminal);
    }
    return result;
}

QImage KeyedLogo(int width, int height)
{
    QImage logo(width, height, QImage::Format_RGB32);
    logo.fill(QColor(0xFF, 0x00, 0xFF));
    QPainter(&logo).drawImage(width / 4, height / 4, NoisePicture(width / 2, height / 2, 7));
    return logo;
}
