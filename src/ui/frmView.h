#pragma once
#include "ui/PictureBox.h"
#include "ui/Shape.h"

#include <QTimer>
#include <QWidget>
#include <cstdint>

class QScrollArea;
class frmMain;

// The composite view "合成画像": the composite on `Board`, the foreground's place marked by
// the blinking outline `Shape1`. A tool window without a task-bar button; it closes and
// frees itself, and the next composition loads it afresh. The handlers live in view/.
class frmView : public QWidget {
    Q_OBJECT
public:
    explicit frmView(frmMain& main);

    PictureBox* Board;
    QTimer* TMC;
    Shape* Shape1;

    void Form_Activate();
    void Board_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Board_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Board_MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Board_DblClick();
    void TMC_Timer();

    // Drag state: Dragging is -1 while the marker is being dragged, 0 otherwise.
    std::int16_t Dragging = 0;
    std::int16_t GrabOffsetX = 0;
    std::int16_t GrabOffsetY = 0;

protected:
    bool event(QEvent* event) override;

private:
    void SaveComposite();

    frmMain& main_;
    QScrollArea* scroller_;
};
