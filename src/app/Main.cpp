#include "app/Main.h"

#include "app/Settings.h"
#include "platform/ModalDialogs.h"
#include "ui/frmMain.h"

#include <QApplication>

std::unique_ptr<frmMain> StartUp()
{
    try {
        LoadSettings();
    } catch (const SettingsError& error) {
        // The file stays as it was: nothing has been written yet.
        Dialogs().MessageBox({nullptr, QString::fromUtf8(error.what()),
                              QStringLiteral("Layerpix"), MB_OK | MB_ICONSTOP});
        return nullptr;
    }
    SaveSettings();
    auto form = std::make_unique<frmMain>();
    form->Form_Load();
    form->show();
    return form;
}

int Main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Layerpix"));
    const std::unique_ptr<frmMain> form = StartUp();
    if (!form)
        return 1;
    return QApplication::exec();
}
