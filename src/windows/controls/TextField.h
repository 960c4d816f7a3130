#pragma once
#include <QLineEdit>
#include <cstdint>

#include <QMimeData>

// A single-line edit field that reports key presses with the handlers' key codes and
// takes files dropped from the file manager; it refuses any other drop.
class TextField : public QLineEdit {
    Q_OBJECT
public:
    TextField(QWidget* parent, QRect outer);

signals:
    void keyDown(std::int16_t keyCode, std::int16_t shift);
    void filesDropped(const QMimeData* data, std::int16_t button, std::int16_t shift, float x,
                      float y);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
