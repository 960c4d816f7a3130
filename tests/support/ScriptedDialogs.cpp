#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace {
template <typename Answer>
Answer Next(std::deque<Answer>& queue, const char* what, Answer fallback)
{
    if (queue.empty()) {
        ADD_FAILURE() << "unexpected " << what;
        return fallback;
    }
    Answer answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}
} // namespace

FileDialogAnswer ScriptedDialogs::GetOpenFileName(const FileDialogRequest& request)
{
    openRequests.push_back(request);
    return Next(openAnswers, "open dialog", FileDialogAnswer{});
}

FileDialogAnswer ScriptedDialogs::GetSaveFileName(const FileDialogRequest& request)
{
    saveRequests.push_back(request);
    return Next(saveAnswers, "save dialog", FileDialogAnswer{});
}

ColorDialogAnswer ScriptedDialogs::ChooseColor(const ColorDialogRequest& request)
{
    colorRequests.push_back(request);
    return Next(colorAnswers, "colour dialog", ColorDialogAnswer{});
}

int ScriptedDialogs::MessageBox(const MessageBoxRequest& request)
{
    messages.push_back(request);
    return Next(messageAnswers, "message box", IDNO);
}

void ScriptedDialogs::ShowModal(QDialog& dialog)
{
    ++modalCount;
    const auto script = Next(modalScripts, "modal dialog",
                             std::function<void(QDialog&)>([](QDialog& d) { d.reject(); }));
    script(dialog);
}

ScriptedDialogsScope::ScriptedDialogsScope()
{
    auto scripted = std::make_unique<ScriptedDialogs>();
    scripted_ = scripted.get();
    previous_ = SetDialogs(std::move(scripted));
}

ScriptedDialogsScope::~ScriptedDialogsScope()
{
    SetDialogs(std::move(previous_));
}
