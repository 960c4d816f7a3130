#pragma once
#include "windows/system/ModalDialogs.h"

#include <QDialog>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// Answers the program's modal windows from queues and records what was asked. An
// unexpected dialog (an empty queue) fails the running test and answers "cancel" / No.
// Install with ScriptedDialogsScope, which puts the previous implementation back.
class ScriptedDialogs final : public ModalDialogs {
public:
    std::deque<FileDialogAnswer> openAnswers, saveAnswers;
    std::deque<ColourDialogAnswer> colourAnswers;
    std::deque<int> messageAnswers;
    // Called with the dialog instead of running it modally; it may click, set and close.
    std::deque<std::function<void(QDialog&)>> modalScripts;

    std::vector<FileDialogRequest> openRequests, saveRequests;
    std::vector<ColourDialogRequest> colourRequests;
    std::vector<MessageBoxRequest> messages;
    int modalCount = 0;

    FileDialogAnswer GetOpenFileName(const FileDialogRequest& request) override
    {
        return Next(openRequests, request, openAnswers, "open dialog", {});
    }
    FileDialogAnswer GetSaveFileName(const FileDialogRequest& request) override
    {
        return Next(saveRequests, request, saveAnswers, "save dialog", {});
    }
    ColourDialogAnswer ChooseColor(const ColourDialogRequest& request) override
    {
        return Next(colourRequests, request, colourAnswers, "colour dialog", {});
    }
    int MessageBox(const MessageBoxRequest& request) override
    {
        return Next(messages, request, messageAnswers, "message box", int(IDNO));
    }
    void ShowModal(QDialog& dialog) override
    {
        ++modalCount;
        if (modalScripts.empty()) {
            ADD_FAILURE() << "unexpected modal dialog";
            return dialog.reject();
        }
        const auto script = std::move(modalScripts.front());
        modalScripts.pop_front();
        script(dialog);
    }

private:
    template <typename Request, typename Answer>
    static Answer Next(std::vector<Request>& asked, const Request& request, std::deque<Answer>& queue,
                       const char* what, Answer fallback)
    {
        asked.push_back(request);
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected " << what;
            return fallback;
        }
        Answer answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }
};

class ScriptedDialogsScope {
public:
    ScriptedDialogsScope()
        : scripted_(new ScriptedDialogs), previous_(SetDialogs(std::unique_ptr<ModalDialogs>(scripted_))) {}
    ~ScriptedDialogsScope() { SetDialogs(std::move(previous_)); }
    ScriptedDialogs* operator->() { return scripted_; }
    ScriptedDialogs& operator*() { return *scripted_; }

private:
    ScriptedDialogs* scripted_;
    std::unique_ptr<ModalDialogs> previous_;
};
