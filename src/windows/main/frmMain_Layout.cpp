#include "windows/main/frmMain.h"

#include <QResizeEvent>
#include <algorithm>

namespace {
// Edges as margins: left, top, right, bottom.
constexpr QMargins kNone{0, 0, 0, 0}, kRight{0, 0, 1, 0}, kMove{1, 0, 1, 0};
constexpr QMargins kDown{0, 1, 0, 1}, kBottom{0, 0, 0, 1};

QRect Moved(QRect start, QMargins edges, int by)
{
    return start.adjusted(edges.left() * by, edges.top() * by, edges.right() * by,
                          edges.bottom() * by);
}
} // namespace

// The left column stays where it is. Each pane takes half of the added height (the upper the
// smaller half) and all of the added width; its path field and its scroll bars stretch
// with it, its "..." button and vertical bar keep to its right edge, and whatever lies below
// a pane moves down with it, the command buttons along the bottom, "閉じる" at the right.
void frmMain::AnchorControls()
{
    const auto add = [this](QWidget* control, QMargins width, QMargins upper, QMargins lower) {
        anchored_.push_back({control, control->geometry(), width, upper, lower});
    };
    add(FLD[0], kRight, kNone, kNone);
    add(DBTN[0], kMove, kNone, kNone);
    add(AREA[0], kRight, kBottom, kNone);
    add(VSCR[0], kMove, kBottom, kNone);
    add(HSCR[0], kRight, kDown, kNone);
    add(LBL[2], kNone, kDown, kNone);
    add(FLD[1], kRight, kDown, kNone);
    add(DBTN[1], kMove, kDown, kNone);
    add(AREA[1], kRight, kDown, kBottom);
    add(VSCR[1], kMove, kDown, kBottom);
    add(HSCR[1], kRight, kDown, kDown);
    for (QWidget* button : {BTN[0], BTN[1]})
        add(button, kNone, kDown, kDown);
    add(BTN[2], kMove, kDown, kDown);
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmMain::Form_Resize()
{
    const int byWidth = std::max(width() - kStartSize.width(), 0);
    const int byHeight = std::max(height() - kStartSize.height(), 0);
    const int upper = byHeight / 2, lower = byHeight - upper;
    const auto place = [&](const Anchored& a) {
        return Moved(Moved(Moved(a.start, a.byWidth, byWidth), a.byUpper, upper), a.byLower, lower);
    };
    // Nothing moves while every control already stands where it belongs (before the controls
    // exist, and at every show).
    if (std::all_of(anchored_.begin(), anchored_.end(),
                    [&](const Anchored& a) { return a.control->geometry() == place(a); }))
        return;
    for (const Anchored& a : anchored_) {
        if (auto* pane = qobject_cast<PictureBox*>(a.control)) {
            pane->move(place(a).topLeft());
            pane->SetOuterSize(place(a).width(), place(a).height());
        } else {
            a.control->setGeometry(place(a));
        }
    }
    // A pane of a new size shows as much of its picture as it now can, from where it was.
    for (std::int16_t slot : {0, 1}) {
        AREA[slot]->surface().Cls();
        if (opened_[slot])
            FitScrollBars(slot, HSCR[slot]->Value(), VSCR[slot]->Value());
        else
            RenderPane(slot);
    }
}
