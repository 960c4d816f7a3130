#pragma once
#include <QByteArray>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

// A temporary folder holding a copy of layerpix-compose in "program/", so each test has its
// own settings file beside the program; the user's configuration folder points into it too.
class CommandFolder {
public:
    CommandFolder();

    bool IsValid() const { return valid_; }
    // A path inside the folder; its parent folders are made.
    QString Path(const QString& relative) const;
    // Writes `picture` in the format its extension names; returns the path.
    QString SavePicture(const QImage& picture, const QString& relative) const;
    QString WriteFile(const QString& relative, const QByteArray& bytes) const;
    QByteArray ReadFile(const QString& relative) const;
    QStringList Entries(const QString& relative) const;   // sorted

    struct Result {
        int exitCode = -1;
        QByteArray out, err;
    };
    // Runs the program here, `input` on its standard input; with `onTerminal`, standard error
    // goes to a terminal 100 columns wide and is read back from it.
    Result Run(const QStringList& arguments, const QByteArray& input = {},
               bool onTerminal = false) const;

private:
    QTemporaryDir root_;
    bool valid_ = false;
};

// A magenta (FF00FF) backdrop with a noisy square in the middle, for keying.
QImage KeyedLogo(int width, int height);
