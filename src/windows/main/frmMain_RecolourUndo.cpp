#include "core/surfaces/Surface.h"
#include "core/transparency/Loupe.h"
#include "core/transparency/Recolour.h"
#include "windows/controls/InputCodes.h"
#include "windows/main/frmMain.h"

// Ctrl+Z takes the foreground's last recolouring back, step by step down to the picture as
// it was loaded; Ctrl+Y or Ctrl+Shift+Z does it again. Only the working bitmap changes, as
// a recolouring changes it; the next composition uses what the pane shows.
void frmMain::Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift)
{
    Surface& picture = PicImg[0]->surface();
    bool changed = false;
    if (KeyCode == 'Z' && Shift == vbCtrlMask)
        changed = UndoRecolouring(picture, Recolourings);
    else if ((KeyCode == 'Y' && Shift == vbCtrlMask) ||
             (KeyCode == 'Z' && Shift == (vbCtrlMask | vbShiftMask)))
        changed = RedoRecolouring(picture, Recolourings);
    if (!changed)
        return;
    RenderPane(0);
    if (loupePoint_)
        DrawLoupe(Loupe->surface(), PicImg[0]->surface(), loupePoint_->x(), loupePoint_->y());
}
