#include "windows/dialogs/clsDialog.h"

#include "core/text/TextUtilities.h"
#include "windows/system/ModalDialogs.h"

#include <QFileInfo>
#include <optional>

namespace {
std::optional<FileDialogRequest> Request(const clsDialog& dialog, QWidget* owner)
{
    bool ok = false;
    const std::int32_t flags = dialog.SelectFlags.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return FileDialogRequest{owner, dialog.SelectTitle, dialog.FilterPattern, flags,
                             dialog.DefaultFolder};
}
} // namespace

QString clsDialog::OpenFile(QWidget* owner)
{
    const auto request = Request(*this, owner);
    if (!request)
        return QString();
    const FileDialogAnswer answer = Dialogs().GetOpenFileName(*request);
    if (!answer.confirmed)
        return QString();
    const QString first = TrimAtNul(answer.file);
    if (!QFileInfo(first).isDir())
        return first;
    // A multiple selection: the folder, then the names, parted by NUL.
    const QString nul(QChar(0));
    QString result = first + '/' + GetField(answer.file, 2, nul);
    for (std::int16_t k = 3;; ++k) {
        const QString name = GetField(answer.file, k, nul);
        if (name.isEmpty())
            break;
        result += ' ' + first + '/' + name;
    }
    return result;
}

QString clsDialog::SaveFile(QWidget* owner)
{
    FilterIndex = 0;
    const auto request = Request(*this, owner);
    if (!request)
        return QString();
    const FileDialogAnswer answer = Dialogs().GetSaveFileName(*request);
    if (!answer.confirmed)
        return QString();
    FilterIndex = answer.filterIndex;
    return TrimAtNul(answer.file);
}

bool clsDialog::ColorCode(QWidget* owner)
{
    ColourDialogRequest request;
    request.owner = owner;
    request.colour = SelectColor;
    request.customColours.fill(RGB(255, 255, 255));
    const ColourDialogAnswer answer = Dialogs().ChooseColor(request);
    if (!answer.confirmed)
        return false;
    SelectColor = answer.colour;
    return true;
}
