#pragma once
#include <QLineEdit>
#include <QMimeData>

// A single-line edit field that reports key presses and takes files dropped from the file
// manager; it refuses any other drop. It keeps undo and redo only while it has typing to
// take back or do again, and leaves those keys to the window's shortcuts otherwise.
class TextField : public QLineEdit {
    Q_OBJECT
public:
    TextField(QWidget* parent, QRect outer);

signals:
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    void filesDropped(const QMimeData* data, Qt::MouseButtons buttons,
                      Qt::KeyboardModifiers modifiers, QPointF point);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
