#pragma once
#include "windows/system/ModalDialogs.h"

// The modal windows on Qt's own dialogs.
class QtDialogs final : public ModalDialogs {
public:
    FileDialogAnswer GetOpenFileName(const FileDialogRequest& request) override;
    FileDialogAnswer GetSaveFileName(const FileDialogRequest& request) override;
    ColourDialogAnswer ChooseColor(const ColourDialogRequest& request) override;
    int MessageBox(const MessageBoxRequest& request) override;
    void ShowModal(QDialog& dialog) override;
};
