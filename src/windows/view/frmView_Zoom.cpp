#include "windows/view/frmView.h"
#include "core/view/ViewSizing.h"

#include <QScrollArea>
#include <QScrollBar>
#include <cmath>

// Ctrl+0 fits the whole composite into the room the screen gives, Ctrl+1 shows it at its
// own size, Ctrl+minus and Ctrl+plus (or Ctrl+=) step between; the view's centre stays on
// the same composite point where the scroll bars allow.
bool frmView::ZoomKey(int Key, Qt::KeyboardModifiers Modifiers)
{
    if (!(Modifiers & Qt::ControlModifier) || (Modifiers & Qt::AltModifier))
        return false;
    switch (Key) {
    case Qt::Key_0: SetViewZoom(FitZoomNow(), std::nullopt); return true;
    case Qt::Key_1: SetViewZoom(1.0, std::nullopt); return true;
    case Qt::Key_Minus: SetViewZoom(SteppedZoom(Board->Zoom(), FitZoomNow(), -1), std::nullopt); return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal: SetViewZoom(SteppedZoom(Board->Zoom(), FitZoomNow(), 1), std::nullopt); return true;
    default: return false;
    }
}

// A notch a step, towards the user smaller; the composite point under the pointer stays
// under it. Fine wheels that turn a notch in several events step once the notch is full.
bool frmView::Board_MouseWheel(int Delta, Qt::KeyboardModifiers Modifiers, QPointF point)
{
    if (!(Modifiers & Qt::ControlModifier))
        return false;
    wheelRest_ += Delta;
    const int steps = wheelRest_ / 120;
    wheelRest_ %= 120;
    if (steps != 0) {
        const QPointF pointer = Board->mapTo(scroller_->viewport(), point * Board->Zoom());
        SetViewZoom(SteppedZoom(Board->Zoom(), FitZoomNow(), steps), pointer);
    }
    return true;
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
