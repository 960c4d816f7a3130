#include "core/document/Document.h"
#include "windows/main/frmMain.h"
#include "windows/options/frmJPEG.h"
#include "windows/system/ModalDialogs.h"
#include "windows/view/frmView.h"

// The three commands of the main window's bottom row.
void frmMain::BTN_Click(std::int16_t Index)
{
    switch (Index) {
    case 0:
        if (!document_.PicImg[0].HasPicture() || !document_.PicImg[1].HasPicture())
            return;
        // A view the user closed has deleted itself; the next compose loads a fresh one.
        if (!View_)
            View_ = new frmView(document_, boardMemory_);
        View_->Compose();
        View_->Present();
        break;
    case 1: {
        frmJPEG options(this, document_.Settings);
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
