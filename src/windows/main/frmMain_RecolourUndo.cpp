#include "core/document/Document.h"
#include "core/transparency/Loupe.h"
#include "core/transparency/Recolour.h"
#include "windows/main/frmMain.h"

// Ctrl+Z takes the foreground's last recolouring back, step by step down to the picture as
// it was loaded; Ctrl+Y or Ctrl+Shift+Z does it again. Only the working bitmap changes, as
// a recolouring changes it; the next composition uses what the pane shows.
void frmMain::Form_KeyDown(int Key, Qt::KeyboardModifiers Modifiers)
{
    Surface& picture = document_.PicImg[0];
    const bool ctrl = Modifiers == Qt::ControlModifier;
    const bool ctrlShift = Modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    bool changed = false;
    if (Key == Qt::Key_Z && ctrl)
        changed = UndoRecolouring(picture, document_.Recolourings);
    else if ((Key == Qt::Key_Y && ctrl) || (Key == Qt::Key_Z && ctrlShift))
        changed = RedoRecolouring(picture, document_.Recolourings);
    if (!changed)
        return;
    RenderPane(0);
    if (loupePoint_)
        DrawLoupe(Loupe->surface(), picture, loupePoint_->x(), loupePoint_->y());
}
