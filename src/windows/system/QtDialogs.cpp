#include "windows/system/QtDialogs.h"

#include "windows/system/FileFilters.h"
#include "core/surfaces/QtColour.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {
FileDialogAnswer RunFileDialog(const FileDialogRequest& request, bool save)
{
    QFileDialog dialog(request.owner, request.title, request.initialFolder);
    const QStringList filters = QtNameFilters(request.filterPattern);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    if (save) {
        // The program appends extensions and asks about replacing files itself.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.flags & OFN_ALLOWMULTISELECT ? QFileDialog::ExistingFiles
                           : request.flags & OFN_FILEMUSTEXIST  ? QFileDialog::ExistingFile
                                                                : QFileDialog::AnyFile);
    }
    FileDialogAnswer answer;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return answer;
    const QStringList files = dialog.selectedFiles();
    answer.confirmed = true;
    answer.filterIndex = std::max<qsizetype>(filters.indexOf(dialog.selectedNameFilter()), 0) + 1;
    if (files.size() == 1) {
        answer.file = files.first();
    } else {
        answer.file = QFileInfo(files.first()).absolutePath();
        for (const QString& file : files)
            answer.file += QChar(0) + QFileInfo(file).fileName();
    }
    return answer;
}
} // namespace

FileDialogAnswer QtDialogs::GetOpenFileName(const FileDialogRequest& request)
{
    return RunFileDialog(request, false);
}

FileDialogAnswer QtDialogs::GetSaveFileName(const FileDialogRequest& request)
{
    return RunFileDialog(request, true);
}

ColourDialogAnswer QtDialogs::ChooseColor(const ColourDialogRequest& request)
{
    for (int i = 0; i < int(request.customColours.size()); ++i)
        QColorDialog::setCustomColor(i, QtColourOf(request.customColours[i]));
    // Opened at the colour asked about, so confirming out of habit keeps it.
    QColorDialog dialog(QtColourOf(request.colour), request.owner);
    ColourDialogAnswer answer;
    if (dialog.exec() != QDialog::Accepted)
        return answer;
    answer.confirmed = true;
    answer.colour = ColorRefOf(dialog.selectedColor());
    return answer;
}

int QtDialogs::MessageBox(const MessageBoxRequest& request)
{
    QMessageBox box(request.owner);
    box.setWindowTitle(request.title);
    box.setText(request.text);
    switch (request.type & 0xF0) {
    case MB_ICONSTOP: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    default: break;
    }
    if ((request.type & 0xF) == MB_YESNO) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? IDYES : IDNO;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return IDOK;
}

void QtDialogs::ShowModal(QDialog& dialog)
{
    dialog.exec();
}
