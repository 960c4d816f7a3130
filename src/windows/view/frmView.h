#pragma once
#include "windows/controls/PictureBox.h"
#include "windows/controls/Shape.h"

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <optional>

class QScrollArea;
class frmMain;

// The composite view "合成画像": the composite on `Board`, the foreground's place marked by
// the blinking outline `Shape1`. A tool window without a task-bar button; it closes and
// frees itself, and the next composition loads it afresh. The handlers live in view/.
class frmView : public QWidget {
    Q_OBJECT
public:
    explicit frmView(frmMain& main);

    inline static const QString Caption = QStringLiteral("合成画像");

    PictureBox* Board;
    QTimer* TMC;
    Shape* Shape1;

    void Form_Activate();
    void Board_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Board_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Board_MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Board_DblClick();
    void TMC_Timer();
    // The arrows nudge the foreground; Ctrl with 0, 1, minus or plus zooms. A key used
    // here comes back as 0, so the scroll area does not scroll with it.
    void Board_KeyDown(std::int16_t& KeyCode, std::int16_t Shift);
    // Ctrl and the wheel zoom about the pointer; a turn used here comes back as 0.
    void Board_MouseWheel(std::int32_t& Delta, std::int16_t Shift, float X, float Y);

    // Drag state: Dragging is -1 while the marker is being dragged, 0 otherwise.
    std::int16_t Dragging = 0;
    std::int16_t GrabOffsetX = 0;
    std::int16_t GrabOffsetY = 0;

protected:
    bool event(QEvent* event) override;

private:
    void SaveComposite();
    void Nudge(QPoint step);
    bool ZoomKey(std::int16_t KeyCode, std::int16_t Shift);
    void SetViewZoom(double zoom, std::optional<QPointF> viewportAnchor);
    double FitZoomNow() const;
    QSize RoomForBoard() const;
    void FitWindow();

    frmMain& main_;
    QScrollArea* scroller_;
    // Puts the plain caption back a moment after the last nudge showed the position.
    QTimer* captionReset_;
    bool composePending_ = false;
    std::int32_t wheelRest_ = 0;
};
