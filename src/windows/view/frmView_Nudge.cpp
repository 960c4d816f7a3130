#include "core/document/FrontPosition.h"
#include "windows/view/ComposeIntoView.h"
#include "base/Rounding.h"
#include "windows/controls/InputCodes.h"
#include "windows/view/frmView.h"

#include <optional>

namespace {
// An arrow moves the foreground one composite pixel, ten with Shift; with Ctrl or Alt it
// is no nudge.
std::optional<QPoint> NudgeOf(std::int16_t KeyCode, std::int16_t Shift)
{
    if ((Shift & ~vbShiftMask) != 0)
        return std::nullopt;
    const int length = Shift == vbShiftMask ? 10 : 1;
    switch (KeyCode) {
    case vbKeyLeft: return QPoint(-length, 0);
    case vbKeyRight: return QPoint(length, 0);
    case vbKeyUp: return QPoint(0, -length);
    case vbKeyDown: return QPoint(0, length);
    default: return std::nullopt;
    }
}
} // namespace

void frmView::Board_KeyDown(std::int16_t& KeyCode, std::int16_t Shift)
{
    if (const std::optional<QPoint> step = NudgeOf(KeyCode, Shift)) {
        // During a drag the marker belongs to the mouse.
        if (Dragging != -1)
            Nudge(*step);
        KeyCode = 0;
    } else if (ZoomKey(KeyCode, Shift)) {
        KeyCode = 0;
    }
}

// A nudge places the foreground as a drag of the marker by `step` would, and the caption
// shows where it now lies. The composition waits for the event loop's next turn, so keys
// already queued (a held key repeating faster than the composite is made) all move the
// marker first and are composed together: the view never falls behind the key.
void frmView::Nudge(QPoint step)
{
    const QRect marker = Shape1->Bounds();
    FrontX = RoundToInt32(double(marker.x()) + step.x());
    FrontY = RoundToInt32(double(marker.y()) + step.y());
    Shape1->SetBounds(QRect(QPoint(FrontX, FrontY), marker.size()));
    setWindowTitle(QStringLiteral("%1 (%2, %3)").arg(Caption).arg(FrontX).arg(FrontY));
    captionReset_->start();
    if (composePending_)
        return;
    composePending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            composePending_ = false;
            ComposeIntoView(main_, *this);
        },
        Qt::QueuedConnection);
}
