#include "windows/system/ModalDialogs.h"

#include "windows/system/QtDialogs.h"

namespace {
std::unique_ptr<ModalDialogs>& Installed()
{
    static std::unique_ptr<ModalDialogs> dialogs = std::make_unique<QtDialogs>();
    return dialogs;
}
} // namespace

ModalDialogs& Dialogs()
{
    return *Installed();
}

std::unique_ptr<ModalDialogs> SetDialogs(std::unique_ptr<ModalDialogs> dialogs)
{
    Installed().swap(dialogs);
    return dialogs;
}
