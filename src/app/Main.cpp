#include "app/Main.h"

#include "app/JapaneseInterface.h"
#include "app/Settings.h"
#include "platform/ModalDialogs.h"
#include "ui/frmMain.h"

#include <QApplication>

namespace {
QString Describe(const SettingsError& error)
{
    const QString reason = error.kind() == SettingsNumberError::Overflow
                               ? QStringLiteral("値が範囲を超えています (オーバーフロー)")
                               : QStringLiteral("数値ではありません (型が一致しません)");
    return QStringLiteral("設定ファイルの値を読めないため、起動を中止します。\n\n"
                          "ファイル: %1\nセクション: [%2]\nキー: %3\n値: \"%4\"\n%5")
        .arg(error.file(), error.section(), error.key(), error.value(), reason);
}
} // namespace

std::unique_ptr<frmMain> StartUp(const QString& programFolder)
{
    try {
        LoadSettings(programFolder);
    } catch (const SettingsError& error) {
        // Nothing has been written yet, so the file stays as it was for the user to mend.
        Dialogs().MessageBox({nullptr, Describe(error), QStringLiteral("Layerpix"),
                              MB_OK | MB_ICONSTOP});
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
    UseJapaneseInterface(app);
    const std::unique_ptr<frmMain> form = StartUp(QCoreApplication::applicationDirPath());
    if (!form)
        return 1;
    return QApplication::exec();
}
