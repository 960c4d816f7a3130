#include "platform/ModalDialogs.h"
#include "ui/frmJPEG.h"
#include "ui/frmMain.h"

// The three commands of the main window's bottom row.
void frmMain::BTN_Click(std::int16_t Index)
{
    switch (Index) {
    case 0:
        break;
    case 1: {
        frmJPEG options(this);
        Dialogs().ShowModal(options);
        break;
    }
    case 2:
        close();
        break;
    default:
        break;
    }
}
