#include "core/document/Document.h"
#include "core/transparency/Loupe.h"
#include "core/transparency/Recolour.h"
#include "windows/main/frmMain.h"

#include <QShortcut>

// Ctrl+Z takes the foreground's last recolouring back, step by step down to the picture as
// it was loaded; Ctrl+Y or Ctrl+Shift+Z does it again. The keys work wherever the focus is
// in the window; a path field with typing to take back keeps them for its text. Only the
// working bitmap changes, as a recolouring changes it; the next composition uses what the
// pane shows.
void frmMain::WireUndo()
{
    auto* undo = new QShortcut(QKeySequence::Undo, this);
    auto* redo = new QShortcut(this);
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_Y),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
        if (!redoKeys.contains(keys))
            redoKeys << keys;
    redo->setKeys(redoKeys);
    connect(undo, &QShortcut::activated, this, [this] { StepRecolouring(false); });
    connect(redo, &QShortcut::activated, this, [this] { StepRecolouring(true); });
}

void frmMain::StepRecolouring(bool redo)
{
    Surface& picture = document_.PicImg[0];
    const bool changed = redo ? RedoRecolouring(picture, document_.Recolourings)
                              : UndoRecolouring(picture, document_.Recolourings);
    if (changed)
        ShowForeground();
}

void frmMain::ShowForeground()
{
    RenderPane(0);
    if (loupePoint_)
        DrawLoupe(Loupe->surface(), document_.PicImg[0], loupePoint_->x(), loupePoint_->y());
}
