#include "windows/controls/InputCodes.h"
#include "windows/view/frmView.h"
#include "core/view/ViewSizing.h"

#include <QScrollArea>
#include <QScrollBar>
#include <cmath>

// Ctrl+0 fits the whole composite into the room the screen gives, Ctrl+1 shows it at its
// own size, Ctrl+minus and Ctrl+plus (or Ctrl+=) step between; the view's centre stays on
// the same composite point where the scroll bars allow.
bool frmView::ZoomKey(std::int16_t KeyCode, std::int16_t Shift)
{
    if ((Shift & vbCtrlMask) == 0 || (Shift & vbAltMask) != 0)
        return false;
    switch (KeyCode) {
    case '0': SetViewZoom(FitZoomNow(), std::nullopt); return true;
    case '1': SetViewZoom(1.0, std::nullopt); return true;
    case '-': SetViewZoom(SteppedZoom(Board->Zoom(), FitZoomNow(), -1), std::nullopt); return true;
    case '+':
    case '=': SetViewZoom(SteppedZoom(Board->Zoom(), FitZoomNow(), 1), std::nullopt); return true;
    default: return false;
    }
}

// A notch a step, towards the user smaller; the composite point under the pointer stays
// under it. Fine wheels that turn a notch in several events step once the notch is full.
void frmView::Board_MouseWheel(std::int32_t& Delta, std::int16_t Shift, float X, float Y)
{
    if ((Shift & vbCtrlMask) == 0)
        return;
    wheelRest_ += Delta;
    Delta = 0;
    const int steps = wheelRest_ / 120;
    wheelRest_ %= 120;
    if (steps == 0)
        return;
    const QPointF pointer = Board->mapTo(scroller_->viewport(), QPointF(X, Y) * Board->Zoom());
    SetViewZoom(SteppedZoom(Board->Zoom(), FitZoomNow(), steps), pointer);
}

double frmView::FitZoomNow() const
{
    const Surface& board = Board->surface();
    return FitZoom(QSize(board.Width(), board.Height()), RoomForBoard());
}

// The composite point shown at the anchor (the pointer, or else the view's centre) is
// shown there again once the window has followed the new size.
void frmView::SetViewZoom(double zoom, std::optional<QPointF> viewportAnchor)
{
    if (zoom == Board->Zoom())
        return;
    const auto anchor = [&] {
        return viewportAnchor ? *viewportAnchor : QRectF(scroller_->viewport()->rect()).center();
    };
    const QPointF boardPoint = (anchor() - QPointF(Board->pos())) / Board->Zoom();
    Board->SetZoom(zoom);
    FitWindow();
    const QPointF scrolled = boardPoint * zoom - anchor();
    scroller_->horizontalScrollBar()->setValue(int(std::lround(scrolled.x())));
    scroller_->verticalScrollBar()->setValue(int(std::lround(scrolled.y())));
}
