#include "windows/system/Clipboard.h"
#include "core/surfaces/QtColour.h"
#include "base/Random.h"
#include "windows/view/frmView.h"
#include "core/view/ViewSizing.h"

#include <QScreen>
#include <QStyle>
#include <algorithm>

// A view zoomed out keeps its zoom, but never below what a composite that has shrunk
// since needs to fit; at zoom 1 the window simply fits the composite.
void frmView::Form_Activate()
{
    Board->SetZoom(std::max(Board->Zoom(), FitZoomNow()));
    FitWindow();
}

// The client area the screen leaves the window.
QSize frmView::RoomForBoard() const
{
    if (const QScreen* display = screen()) {
        const QSize frame = frameGeometry().size() - geometry().size();
        return display->availableGeometry().size() - frame;
    }
    return Board->size();
}

// Fixed, so the user cannot drag the border: the window follows the shown composite only.
void frmView::FitWindow()
{
    const int barExtent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    setFixedSize(ViewClientSize(Board->size(), RoomForBoard(), barExtent));
}

void frmView::TMC_Timer()
{
    Shape1->SetBorderColor(QtColourOf(RandomColour()));
}

void frmView::Board_DblClick()
{
    PutImageOnClipboard(Board->surface().Image());
}
