#pragma once
#include "base/Result.h"
#include "codec/Metadata.h"
#include "windows/controls/PictureBox.h"
#include "windows/controls/Shape.h"

#include <QDateTime>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <optional>

struct SaveOptions;

class Document;
class PreparedBitmap;
class QScrollArea;

// The composite view "合成画像": the composite of `document` on `Board`, the foreground's
// place marked by the blinking outline `Shape1`. A tool window without a task-bar button; it
// closes and frees itself, and the next composition loads it afresh. The handlers live in
// the files frmView_*.cpp beside it. Controls are named as in the main window ("Board").
// The board's bitmap comes from `boardMemory`, got ready for the background's size before
// the first composition, and goes back there when the view closes, for the next view.
class frmView : public QWidget {
    Q_OBJECT
public:
    frmView(Document& document, PreparedBitmap& boardMemory);
    ~frmView() override;

    inline static const QString Caption = QStringLiteral("合成画像");

    // Composes the document's foreground onto its background at FrontX, FrontY with the key
    // and the rate of its settings, through its work surface, into Board, and places Shape1
    // over the foreground. Repaints the board; does not show the window.
    void Compose();
    // Shows the window, brought forward and activated, already fitted to the composite, so
    // that it is mapped and painted once at its size.
    void Present();

    void Form_Activate();
    void Board_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Board_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Board_MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Board_DblClick();
    void TMC_Timer();
    // The arrows nudge the foreground; Ctrl with 0, 1, minus or plus zooms. True when the
    // key was used here, so the scroll area does not scroll with it.
    bool Board_KeyDown(int Key, Qt::KeyboardModifiers Modifiers);
    // Ctrl and the wheel zoom about the pointer, `point` in board pixels; true when the turn
    // was used here.
    bool Board_MouseWheel(int Delta, Qt::KeyboardModifiers Modifiers, QPointF point);

protected:
    bool event(QEvent* event) override;

private:
    void SaveComposite();
    // Saves the composite as the background's JPEG file with its blocks kept outside the
    // foreground, or whole as JPEG when they cannot be kept.
    Result<void> SaveKeepingBlocks(const QString& name, const SaveOptions& options);
    void Nudge(QPoint step);
    void ComposeSoon();
    bool ZoomKey(int Key, Qt::KeyboardModifiers Modifiers);
    void SetViewZoom(double zoom, std::optional<QPointF> viewportAnchor);
    // The pointer's place in the scroll area's viewport, while it is over it.
    std::optional<QPointF> PointerInView() const;
    // The caption, with the zoom when it is not 100 %: "合成画像 50%".
    QString ZoomCaption() const;
    double FitZoomNow() const;
    QSize RoomForBoard() const;
    void FitWindow();

    Document& document_;
    PreparedBitmap& boardMemory_;
    PictureBox* Board;
    // What the composite on Board was made from, which a save keeps to even after other
    // pictures were opened: the background's metadata, its file as it was then, and the
    // foreground's rectangle on it (the MCUs a save with the JPEG blocks kept encodes).
    PictureMetadata boardMetadata_;
    QString boardBackFile_;
    QDateTime boardBackChanged_;
    QRect boardFront_;
    QTimer* TMC;
    Shape* Shape1;
    QScrollArea* scroller_;
    // Puts the plain caption back a moment after the last nudge showed the position.
    QTimer* captionReset_;
    bool composePending_ = false;
    std::int32_t wheelRest_ = 0;

    // The drag: Dragging is -1 while the marker is being dragged, 0 otherwise. The grab
    // offsets are the marker's corner less the pointer at the press, in board pixels, wide
    // enough for any composite.
    std::int16_t Dragging = 0;
    std::int32_t GrabOffsetX = 0;
    std::int32_t GrabOffsetY = 0;
};
