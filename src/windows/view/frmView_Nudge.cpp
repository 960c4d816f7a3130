#include "base/Rounding.h"
#include "core/document/Document.h"
#include "windows/view/frmView.h"

#include <optional>

namespace {
// The modifiers a person holds on purpose; the keypad flag of the arrows is none of them.
constexpr Qt::KeyboardModifiers kHeld =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// An arrow moves the foreground one composite pixel, ten with Shift; with Ctrl or Alt it
// is no nudge.
std::optional<QPoint> NudgeOf(int Key, Qt::KeyboardModifiers Modifiers)
{
    const Qt::KeyboardModifiers held = Modifiers & kHeld;
    if (held != Qt::NoModifier && held != Qt::ShiftModifier)
        return std::nullopt;
    const int length = held == Qt::ShiftModifier ? 10 : 1;
    switch (Key) {
    case Qt::Key_Left: return QPoint(-length, 0);
    case Qt::Key_Right: return QPoint(length, 0);
    case Qt::Key_Up: return QPoint(0, -length);
    case Qt::Key_Down: return QPoint(0, length);
    default: return std::nullopt;
    }
}
} // namespace

bool frmView::Board_KeyDown(int Key, Qt::KeyboardModifiers Modifiers)
{
    if (const std::optional<QPoint> step = NudgeOf(Key, Modifiers)) {
        // During a drag the marker belongs to the mouse.
        if (Dragging != -1)
            Nudge(*step);
        return true;
    }
    return ZoomKey(Key, Modifiers);
}

// A nudge places the foreground as a drag of the marker by `step` would, and the caption
// shows where it now lies; the view never falls behind the key.
void frmView::Nudge(QPoint step)
{
    const QRect marker = Shape1->Bounds();
    std::int32_t& x = document_.FrontX;
    std::int32_t& y = document_.FrontY;
    x = RoundToInt32(double(marker.x()) + step.x());
    y = RoundToInt32(double(marker.y()) + step.y());
    Shape1->SetBounds(QRect(QPoint(x, y), marker.size()));
    setWindowTitle(QStringLiteral("%1 (%2, %3)").arg(ZoomCaption()).arg(x).arg(y));
    captionReset_->start();
    ComposeSoon();
}

// Composes on the event loop's next turn, once however many moves asked for it meanwhile: the
// moves already queued (a held key repeating, a pointer dragged faster than the composite is
// made) all move the marker first and are composed together.
void frmView::ComposeSoon()
{
    if (composePending_)
        return;
    composePending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            composePending_ = false;
            Compose();
        },
        Qt::QueuedConnection);
}
