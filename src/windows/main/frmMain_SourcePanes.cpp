#include "core/document/Document.h"
#include "windows/dialogs/clsDialog.h"
#include "windows/system/ModalDialogs.h"
#include "core/sources/SourceNames.h"
#include "windows/controls/InputCodes.h"
#include "windows/main/frmMain.h"
#include "windows/view/frmView.h"

#include <algorithm>

namespace {
// Shows the scroll bar only when the picture is longer than the pane in its direction,
// its view at `value` as far as the new range allows. A range beyond 16 bits is cut to
// 32767, so the far end of so long a picture cannot be reached.
void FitScrollBar(ScrollBar& bar, int pictureLength, int paneLength, std::int16_t value)
{
    if (pictureLength > paneLength) {
        const auto most = static_cast<std::int16_t>(std::min(pictureLength - paneLength, 32767));
        bar.show();
        bar.SetValue(std::min(value, most));
        bar.SetMax(most);
    } else {
        bar.hide();
        bar.SetValue(0);
    }
}
} // namespace

void frmMain::OpenSourcePicture(const QString& path, std::int16_t slot)
{
    if (LoadSourceImage(path, slot) != 0)
        return;
    // A new picture is seen from its top-left corner.
    FitScrollBars(slot, 0, 0);
    opened_[slot] = true;
    // The memory the first 合成 draws into is got ready now rather than after the click: the
    // work surface takes the foreground's size, the view's board the background's.
    const Surface& opened = document_.PicImg[slot];
    if (slot == 0)
        document_.PicImg[2].SetSize(opened.Width(), opened.Height());
    else if (!View_)
        boardMemory_.Prepare(opened.Width(), opened.Height());
}

void frmMain::FitScrollBars(std::int16_t slot, std::int16_t x, std::int16_t y)
{
    const Surface& holder = document_.PicImg[slot];
    const Surface& pane = AREA[slot]->surface();
    FitScrollBar(*HSCR[slot], holder.Width(), pane.Width(), x);
    FitScrollBar(*VSCR[slot], holder.Height(), pane.Height(), y);
    RenderPane(slot);
}

void frmMain::FLD_KeyDown(std::int16_t Index, std::int16_t KeyCode, std::int16_t Shift)
{
    Q_UNUSED(Shift);
    if (KeyCode == vbKeyReturn)
        OpenSourcePicture(FLD[Index]->text(), Index);
}

void frmMain::DBTN_Click(std::int16_t Index)
{
    clsDialog dialog;
    dialog.SelectTitle = Index == 0 ? QStringLiteral("前景の画像") : QStringLiteral("背景の画像");
    dialog.FilterPattern = BrowseFilterPattern(document_.Settings.GifOption);
    dialog.SelectFlags = QString::number(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    const QString path = dialog.OpenFile(this);
    if (!path.isEmpty())
        OpenSourcePicture(path, Index);
}

void frmMain::HSCR_Change(std::int16_t Index)
{
    RenderPane(Index);
}

void frmMain::VSCR_Change(std::int16_t Index)
{
    RenderPane(Index);
}
