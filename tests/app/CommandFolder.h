#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class QProcess;

// A temporary folder holding a copy of layerpix-compose in "program/", so each test has its
// own settings file beside the program, and room for pictures and output. The user's
// configuration folder points into it too, so no test reads or writes the real one.
class CommandFolder {
public:
    CommandFolder();

    bool IsValid() const { return valid_; }
    // A path inside the folder; its parent folders are made.
    QString Path(const QString& relative) const;
    QString SettingsPath() const { return Path(QStringLiteral("program/Layerpix.ini")); }

    // Writes `picture` to `relative` in the format its extension names; returns the path.
    QString SavePicture(const QImage& picture, const QString& relative) const;
    QString WriteFile(const QString& relative, const QByteArray& bytes) const;
    QByteArray ReadFile(const QString& relative) const;
    // The names of the files and folders directly in `relative`, sorted.
    QStringList Entries(const QString& relative) const;

    struct Result {
        int exitCode = -1;
        QByteArray out, err;
    };
    // Runs the program with `arguments` in this folder, `input` on its standard input.
    Result Run(const QStringList& arguments, const QByteArray& input = {}) const;
    // The same with standard error on a terminal 100 columns wide, read back here.
    Result RunOnTerminal(const QStringList& arguments) const;

private:
    QString Program() const { return Path(QStringLiteral("program/layerpix-compose")); }
    Result Execute(QProcess& process, const QStringList& arguments, const QByteArray& input) const;

    QTemporaryDir root_;
    bool valid_ = false;
};

// A foreground for keying: a magenta (FF00FF) backdrop with a noisy square in the middle.
QImage KeyedLogo(int width, int height);
