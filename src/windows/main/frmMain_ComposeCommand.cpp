#include "windows/view/ComposeIntoView.h"
#include "windows/system/ModalDialogs.h"
#include "windows/options/frmJPEG.h"
#include "windows/main/frmMain.h"
#include "windows/view/frmView.h"

// The three commands of the main window's bottom row.
void frmMain::BTN_Click(std::int16_t Index)
{
    switch (Index) {
    case 0:
        if (!PicImg[0]->surface().HasPicture() || !PicImg[1]->surface().HasPicture())
            return;
        // A view the user closed has deleted itself; the next compose loads a fresh one.
        if (!View)
            View = new frmView(*this);
        ComposeIntoView(*this, *View);
        View->show();
        // Brought forward and activated, so it fits itself to a composite of a new size.
        View->raise();
        View->activateWindow();
        View->Board->surface().Refresh();
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
