#pragma once
#include "windows/system/ModalDialogs.h"

#include <QDialog>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <typeinfo>
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
    std::vector<QString> modals; // the object names of our own dialogs

    FileDialogAnswer GetOpenFileName(const FileDialogRequest& r) override { return Next(openRequests, r, openAnswers); }
    FileDialogAnswer GetSaveFileName(const FileDialogRequest& r) override { return Next(saveRequests, r, saveAnswers); }
    ColourDialogAnswer ChooseColor(const ColourDialogRequest& r) override
    {
        return Next(colourRequests, r, colourAnswers);
    }
    int MessageBox(const MessageBoxRequest& r) override { return Next(messages, r, messageAnswers, int(IDNO)); }
    void ShowModal(QDialog& dialog) override
    {
        const auto script = Next(modals, dialog.objectName(), modalScripts);
        script ? script(dialog) : dialog.reject();
    }

private:
    template <typename Request, typename Answer>
    static Answer Next(std::vector<Request>& asked, const Request& request, std::deque<Answer>& queue,
                       Answer fallback = {})
    {
        asked.push_back(request);
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected dialog, asked for " << typeid(Answer).name();
            return fallback;
        }
        Answer answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }
};

class ScriptedDialogsScope {
public:
    ScriptedDialogsScope() : previous_(SetDialogs(std::unique_ptr<ModalDialogs>(scripted_))) {}
    ~ScriptedDialogsScope() { SetDialogs(std::move(previous_)); }
    ScriptedDialogs* operator->() { return scripted_; }

private:
    ScriptedDialogs* scripted_ = new ScriptedDialogs;
    std::unique_ptr<ModalDialogs> previous_;
};
