#include "core/document/Document.h"
#include "windows/dialogs/clsDialog.h"
#include "windows/system/ModalDialogs.h"
#include "windows/view/frmView.h"
#include "windows/view/CheckFile.h"
#include "core/view/ExportComposite.h"
#include "core/view/SaveName.h"
#include "core/view/StampedJpeg.h"

#include <QFileInfo>
#include <cstring>

namespace {
QString SaveFilters()
{
    using enum PictureFormat;
    const QChar nul(0);
    const std::pair<QString, QString> filters[] = {
        {QStringLiteral("画像ファイル"), Patterns({Bmp, Jpeg, Png})},
        {QStringLiteral("ビットマップファイル"), Patterns({Bmp})},
        {QStringLiteral("ＪＰＥＧファイル"), Patterns({Jpeg})},
        {QStringLiteral("ＰＮＧファイル"), Patterns({Png})}};
    QString pattern;
    for (const auto& [description, patterns] : filters)
        pattern += description + nul + patterns + nul;
    return pattern;
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
    const QString typed = TrimTypedName(dialog.SaveFile(this));
    if (typed.isEmpty())
        return;

    const SaveTarget target = SettleSaveName(typed, dialog.FilterIndex);
    const QString& name = target.name;
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
    const SettingsRecord& settings = document_.Settings;
    const SaveOptions options{settings.JpegRate, settings.JpegPrgrs, settings.PngRate};
    const Result<void> saved = target.format == SaveFormat::Jpeg && KeepJpegBlocksChosen(settings)
                                   ? SaveKeepingBlocks(name, options)
                                   : WriteComposite(Board->surface(), name, target.format, options, boardMetadata_);
    if (!saved)
        Dialogs().MessageBox({this,
                              name + QStringLiteral("\r\n")
                                  + QString::fromStdString(saved.failure().japanese),
                              QStringLiteral("保存エラー"), MB_OK | MB_ICONEXCLAMATION});
}

Result<void> frmView::SaveKeepingBlocks(const QString& name, const SaveOptions& options)
{
    if (QFileInfo(boardBackFile_).lastModified() != boardBackChanged_)
        return WriteComposite(Board->surface(), name, SaveFormat::Jpeg, options, boardMetadata_);
    QImage& board = Board->surface().hDC();
    // The board holds the composite: the MCUs under the foreground are encoded from it.
    const Result<bool> kept = WriteStampedJpeg(
        boardBackFile_, board.size(),
        [this](QSize) { return PixelRect{boardFront_.x(), boardFront_.y(), boardFront_.width(), boardFront_.height()}; },
        [&board](const PixelRect& region, CodecSurface& pixels) {
            for (int y = 0; y < pixels.height; ++y)
                std::memcpy(pixels.bits + std::ptrdiff_t(y) * pixels.stride,
                            board.constScanLine(int(region.y) + y) + region.x * 4, std::size_t(pixels.width) * 4);
            return Result<void>();
        },
        boardMetadata_, name);
    if (!kept)
        return kept.failure();
    if (*kept)
        return {};
    return WriteComposite(Board->surface(), name, SaveFormat::Jpeg, options, boardMetadata_);
}
