#include "core/settings/Settings.h"
#include "windows/dialogs/clsDialog.h"
#include "windows/system/ModalDialogs.h"
#include "windows/view/frmView.h"
#include "windows/view/CheckFile.h"
#include "core/view/ExportComposite.h"
#include "core/view/SaveName.h"

namespace {
QString SaveFilters()
{
    const QChar nul(0);
    QString filters;
    for (const char16_t* part :
         {u"画像ファイル", u"*.bmp;*.jpg;*.png", u"ビットマップファイル", u"*.bmp",
          u"ＪＰＥＧファイル", u"*.jpg", u"ＰＮＧファイル", u"*.png"})
        filters += QString::fromUtf16(part) + nul;
    return filters;
}

bool ConfirmOverwrite(QWidget* owner, const QString& name)
{
    const MessageBoxRequest question{owner, QStringLiteral("上書きしますか？\r\n") + name,
                                     QStringLiteral("上書き確認"), MB_YESNO | MB_ICONQUESTION};
    return Dialogs().MessageBox(question) != IDNO;
}
} // namespace

void frmView::SaveComposite()
{
    clsDialog dialog;
    dialog.SelectTitle = QStringLiteral("ファイルの保存");
    dialog.FilterPattern = SaveFilters();
    dialog.SelectFlags = QString::number(OFN_CREATEPROMPT | OFN_HIDEREADONLY);
    const std::u16string typed = TrimTypedName(dialog.SaveFile(this).toStdU16String());
    if (typed.empty())
        return;

    const SaveTarget target = SettleSaveName(typed, dialog.FilterIndex);
    const QString name = QString::fromStdU16String(target.name);
    switch (CheckFile(name)) {
    case FileStatusExists:
        if (!ConfirmOverwrite(this, name))
            return;
        break;
    case FileStatusUnknown:
        return;   // the system error has been shown; nothing is written
    default:
        break;
    }
    // Read at the moment of saving, so a change in the options dialog applies to the next save.
    const SaveOptions options{Settings.JpegRate, Settings.JpegPrgrs, Settings.PngRate};
    const Result<void> saved = WriteComposite(Board->surface(), name, target.format, options);
    if (!saved)
        Dialogs().MessageBox({this,
                              name + QStringLiteral("\r\n")
                                  + QString::fromStdString(saved.failure().japanese),
                              QStringLiteral("保存エラー"), MB_OK | MB_ICONEXCLAMATION});
}
