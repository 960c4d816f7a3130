#include "platform/Clipboard.h"
#include "platform/QtColor.h"
#include "platform/Random.h"
#include "ui/frmView.h"
#include "view/ViewSizing.h"

#include <QScreen>
#include <QStyle>

void frmView::Form_Activate()
{
    const Surface& board = Board->surface();
    QSize available(board.Width(), board.Height());
    if (const QScreen* display = screen()) {
        const QSize frame = frameGeometry().size() - geometry().size();
        available = display->availableGeometry().size() - frame;
    }
    const int barExtent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    // Fixed, so the user cannot drag the border: the window follows the composite only.
    setFixedSize(ViewClientSize(QSize(board.Width(), board.Height()), available, barExtent));
}

void frmView::TMC_Timer()
{
    Shape1->SetBorderColor(ToQColor(RandomColor()));
}

void frmView::Board_DblClick()
{
    PutImageOnClipboard(Board->surface().Image());
}
