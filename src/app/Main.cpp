#include "app/Main.h"

#include "app/JapaneseInterface.h"
#include "windows/system/ModalDialogs.h"

#include <QApplication>
#include <QDir>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {
void Print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

QStringList ArgumentsAfterName(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}
} // namespace

std::unique_ptr<Session> StartUp(const QString& programFolder, const StartArguments& arguments)
{
    Result<LoadedSettings> loaded = LoadSettings(programFolder);
    if (!loaded) {
        // Nothing has been written yet, so the file stays as it was for the user to mend.
        Dialogs().MessageBox({nullptr, QString::fromStdString(loaded.failure().japanese),
                              QStringLiteral("Layerpix"), MB_OK | MB_ICONSTOP});
        return nullptr;
    }
    if (loaded->unread)
        Dialogs().MessageBox({nullptr,
                              QStringLiteral("設定ファイルを読めないため、既定の設定で起動します。"
                                             "ファイルはそのまま残し、上書きしません。\n\n") +
                                  QString::fromStdString(loaded->unread->japanese),
                              QStringLiteral("Layerpix"), MB_OK | MB_ICONEXCLAMATION});
    SettingsRecord& settings = loaded->settings;
    // A failed save is not reported: the values stay in memory for the next one.
    (void)SaveSettings(settings);
    // The file keeps the restored paths until the window closes and stores what its path
    // fields then hold, as for typed paths; the restored picture of a replaced slot is
    // never decoded.
    if (arguments.Front)
        settings.Front = *arguments.Front;
    if (arguments.Back)
        settings.Back = *arguments.Back;
    auto session = std::make_unique<Session>(std::move(settings));
    session->form.Form_Load();
    session->form.show();
    return session;
}

int Main(int argc, char* argv[])
{
    // A save past the file-size limit fails and is reported in "保存エラー", as a full disk is;
    // the window and its pictures stay.
    std::signal(SIGXFSZ, SIG_IGN);
    // Help and version answer before Qt looks for a display, so they work without one.
    // Qt's own options are not known yet, so a refusal here waits for the second reading.
    const Result<StartArguments> early =
        ParseStartArguments(ArgumentsAfterName(argc, argv), QDir::currentPath());
    if (early && early->Action != StartAction::Open) {
        Print(stdout, early->Text);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Layerpix"));
    UseJapaneseInterface(app);
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("layerpix"));
    // Qt has taken its own options (-platform, -style...) out of the arguments by now.
    const Result<StartArguments> arguments =
        ParseStartArguments(QCoreApplication::arguments().mid(1), QDir::currentPath());
    if (!arguments) {
        Print(stderr, QStringLiteral("layerpix: ") + QString::fromStdString(arguments.failure().english));
        // Started from a menu or a file manager, nobody reads the error stream.
        if (!isatty(STDERR_FILENO))
            Dialogs().MessageBox({nullptr, QString::fromStdString(arguments.failure().japanese),
                                  QStringLiteral("Layerpix"), MB_OK | MB_ICONSTOP});
        return 2;
    }
    const std::unique_ptr<Session> session =
        StartUp(QCoreApplication::applicationDirPath(), *arguments);
    if (!session)
        return 1;
    return QApplication::exec();
}
