#include "windows/view/frmView.h"
#include "core/view/ViewSizing.h"

#include <QCursor>
#include <QScrollArea>
#include <QScrollBar>
#include <cmath>

// Ctrl+0 fits the whole composite into the room the screen gives, Ctrl+1 shows it at its
// own size, Ctrl+minus and Ctrl+plus (or Ctrl+=) step out and in, up to eight times; the
// composite point under the pointer (or, with the pointer elsewhere, at the view's centre)
// stays where it is, as far as the scroll bars allow.
bool frmView::ZoomKey(int Key, Qt::KeyboardModifiers Modifiers)
{
    if (!(Modifiers & Qt::ControlModifier) || (Modifiers & Qt::AltModifier))
        return false;
    double zoom = 0;
    switch (Key) {
    case Qt::Key_0: zoom = FitZoomNow(); break;
    case Qt::Key_1: zoom = 1.0; break;
    case Qt::Key_Minus: zoom = SteppedZoom(Board->Zoom(), FitZoomNow(), -1); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoom = SteppedZoom(Board->Zoom(), FitZoomNow(), 1); break;
    default: return false;
    }
    SetViewZoom(zoom, PointerInView());
    return true;
}

std::optional<QPointF> frmView::PointerInView() const
{
    const QPoint pointer = scroller_->viewport()->mapFromGlobal(QCursor::pos());
    if (!scroller_->viewport()->rect().contains(pointer))
        return std::nullopt;
    return QPointF(pointer);
}

QString frmView::ZoomCaption() const
{
    const double zoom = Board->Zoom();
    if (zoom == 1.0)
        return Caption;
    return QStringLiteral("%1 %2%").arg(Caption).arg(std::lround(zoom * 100));
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
