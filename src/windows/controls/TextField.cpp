#include "windows/controls/TextField.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <limits>

TextField::TextField(QWidget* parent, QRect outer) : QLineEdit(parent)
{
    setGeometry(outer);
    setAcceptDrops(true);
    // A path read from the settings file comes back whole at closing, however long it is.
    setMaxLength(std::numeric_limits<int>::max());
}

bool TextField::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->matches(QKeySequence::Undo) && !isUndoAvailable()) ||
            (key->matches(QKeySequence::Redo) && !isRedoAvailable())) {
            event->ignore();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void TextField::keyPressEvent(QKeyEvent* event)
{
    emit keyDown(event->key(), event->modifiers());
    QLineEdit::keyPressEvent(event);
}

// A path field takes only a list of files: dragged text or pictures are refused rather
// than typed into the path.
void TextField::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TextField::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TextField::dropEvent(QDropEvent* event)
{
    if (!event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit filesDropped(event->mimeData(), event->buttons(), event->modifiers(), event->position());
}
