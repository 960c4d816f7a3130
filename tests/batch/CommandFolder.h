#pragma once
// A temporary folder holding a copy of layerpix-compose in "program/", so each test has its
// own settings file beside the program; the user's configuration folder points into it too.
#include "support/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

class CommandFolder {
public:
    CommandFolder()
    {
        valid_ = root_.isValid() && QDir(root_.path()).mkpath(QStringLiteral("config")) &&
                 QFile::copy(QStringLiteral(LAYERPIX_COMPOSE), Path("program/layerpix-compose"));
    }

    bool IsValid() const { return valid_; }
    // A path inside the folder; its parent folders are made.
    QString Path(const QString& relative) const
    {
        const QString path = root_.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        return path;
    }
    // Writes `picture` in the format its extension names; returns the path.
    QString SavePicture(const QImage& picture, const QString& relative) const
    {
        EXPECT_TRUE(picture.save(Path(relative), nullptr, 90)) << relative.toStdString();
        return Path(relative);
    }
    QString WriteFile(const QString& relative, const QByteArray& bytes) const
    {
        QFile file(Path(relative));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }
    QByteArray ReadFile(const QString& relative) const
    {
        QFile file(root_.filePath(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList Entries(const QString& relative) const   // sorted
    {
        return QDir(root_.filePath(relative))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    struct Result {
        int exitCode = -1;
        QByteArray out, err;
    };
    // Runs the program here, `input` on its standard input; with `onTerminal`, standard error
    // goes to a terminal 100 columns wide and is read back from it.
    Result Run(const QStringList& arguments, const QByteArray& input = {},
               bool onTerminal = false) const
    {
        QProcess process;
        const int terminal = onTerminal ? posix_openpt(O_RDWR | O_NOCTTY) : -1;
        if (onTerminal) {
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

private:
    QTemporaryDir root_;
    bool valid_ = false;
};

// A magenta (FF00FF) backdrop with a noisy square in the middle, for keying.
inline QImage KeyedLogo(int width, int height)
{
    QImage logo(width, height, QImage::Format_RGB32);
    logo.fill(QColor(0xFF, 0x00, 0xFF));
    QPainter(&logo).drawImage(width / 4, height / 4, NoisePicture(width / 2, height / 2, 7));
    return logo;
}
