#pragma once
#include "platform/ModalDialogs.h"

#include <QDialog>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

// Answers the program's modal windows from queues and records what was asked. An
// unexpected dialog (an empty queue) fails the running test and answers "cancel" / No.
// Install with ScriptedDialogsScope, which puts the previous implementation back.
class ScriptedDialogs final : public ModalDialogs {
public:
    std::deque<FileDialogAnswer> openAnswers, saveAnswers;
    std::deque<ColorDialogAnswer> colorAnswers;
    std::deque<int> messageAnswers;
    // Called with the dialog instead of running it modally; it may click, set and close.
    std::deque<std::function<void(QDialog&)>> modalScripts;

    std::vector<FileDialogRequest> openRequests, saveRequests;
    std::vector<ColorDialogRequest> colorRequests;
    std::vector<MessageBoxRequest> messages;
    int modalCount = 0;

    FileDialogAnswer GetOpenFileName(const FileDialogRequest& request) override;
    FileDialogAnswer GetSaveFileName(const FileDialogRequest& request) override;
    ColorDialogAnswer ChooseColor(const ColorDialogRequest& request) override;
    int MessageBox(const MessageBoxRequest& request) override;
    void ShowModal(QDialog& dialog) override;
};

class ScriptedDialogsScope {
public:
    ScriptedDialogsScope();
    ~ScriptedDialogsScope();
    ScriptedDialogs* operator->() { return scripted_; }
    ScriptedDialogs& operator*() { return *scripted_; }

private:
    ScriptedDialogs* scripted_;
    std::unique_ptr<ModalDialogs> previous_;
};
