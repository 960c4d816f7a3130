#include "ui/TextField.h"

#include "ui/InputCodes.h"

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

void TextField::keyPressEvent(QKeyEvent* event)
{
    emit keyDown(KeyCode(event->key()), ShiftCode(event->modifiers()));
    QLineEdit::keyPressEvent(event);
}

void TextField::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        QLineEdit::dragEnterEvent(event);
}

void TextField::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        QLineEdit::dragMoveEvent(event);
}

void TextField::dropEvent(QDropEvent* event)
{
    if (!event->mimeData()->hasUrls()) {
        QLineEdit::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    emit filesDropped(event->mimeData(), ButtonCode(event->buttons()),
                      ShiftCode(event->modifiers()), float(event->position().x()),
                      float(event->position().y()));
}
