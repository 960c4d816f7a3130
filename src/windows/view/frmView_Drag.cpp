#include "base/Rounding.h"
#include "core/document/Document.h"
#include "windows/controls/InputCodes.h"
#include "windows/view/frmView.h"

// Dragging the marker: a left press on the outline (edges included) grabs it, moves with
// the left button alone carry the outline along, and the left release places the
// foreground there and composes again. With the live drag chosen, the foreground itself
// follows the pointer: each move places it and asks for a composite, made once the queued
// moves are through, so the pointer never waits for it. Positions are board pixels;
// fractional mouse positions round halves to even. The grab offsets hold 32 bits: a
// foreground grabbed far from its corner on a wide composite lands where it was dropped.

void frmView::Board_MouseDown(std::int16_t Button, std::int16_t, float X, float Y)
{
    if (Button != vbLeftButton)
        return;
    const QRect marker = Shape1->Bounds();
    const float L = float(marker.x()), T = float(marker.y());
    const float W = float(marker.width()), H = float(marker.height());
    if (X < L || X > L + W || Y < T || Y > T + H)
        return;
    Dragging = -1;
    GrabOffsetX = RoundToInt32(L - X);
    GrabOffsetY = RoundToInt32(T - Y);
}

void frmView::Board_MouseMove(std::int16_t Button, std::int16_t, float X, float Y)
{
    if (Button != vbLeftButton || Dragging != -1)
        return;
    const QPoint corner(RoundToInt32(GrabOffsetX + double(X)), RoundToInt32(GrabOffsetY + double(Y)));
    Shape1->SetBounds(QRect(corner, Shape1->Bounds().size()));
    if (!LiveDragChosen(document_.Settings))
        return;
    document_.FrontX = corner.x();
    document_.FrontY = corner.y();
    ComposeSoon();
}

void frmView::Board_MouseUp(std::int16_t Button, std::int16_t, float X, float Y)
{
    if (Button == vbRightButton) {
        SaveComposite();
        return;
    }
    if (Button != vbLeftButton || Dragging != -1)
        return;
    document_.FrontX = RoundToInt32(GrabOffsetX + double(X));
    document_.FrontY = RoundToInt32(GrabOffsetY + double(Y));
    Dragging = 0;
    Compose();
}
