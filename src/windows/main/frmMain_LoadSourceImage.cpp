#include "core/document/Document.h"
#include "core/sources/SourceMetadata.h"
#include "core/sources/SourcePicture.h"
#include "core/surfaces/Gdi.h"
#include "windows/main/frmMain.h"

#include <QFileInfo>

namespace {
bool IsSourceSlot(std::int16_t slot)
{
    return slot == 0 || slot == 1;
}
} // namespace

std::int16_t frmMain::LoadSourceImage(const QString& path, std::int16_t slot)
{
    if (!IsSourceSlot(slot))
        return 1;
    Surface& holder = document_.PicImg[slot];
    // The file is decoded in full before anything of the slot changes, so a file that does
    // not open leaves the slot's picture (with its colour replacements), the pane, the path
    // field and the foreground position as they were.
    LoadedPicture loaded = LoadSourcePicture(path, SourceBackground(slot));
    if (!loaded)
        return 1;
    holder.SetPicture(std::move(*loaded));
    // The recolourings belonged to the foreground that has gone; of a background, its file and
    // what it says of itself are kept for the saves.
    if (slot == 0) {
        document_.Recolourings.Clear();
        frontFile_ = path;
    } else {
        document_.BackMetadata = ReadSourceMetadata(path);
        document_.BackFile = path;
        document_.BackFileChanged = QFileInfo(path).lastModified();
    }
    // Where the new picture does not reach, the pane shows its background, not the last one.
    AREA[slot]->surface().Cls();
    RenderPane(slot);
    FLD[slot]->setText(path);
    document_.FrontX = 0;
    document_.FrontY = 0;
    return 0;
}

// The foreground keeps its transparency when the user chose so; the background never.
PictureBackground frmMain::SourceBackground(std::int16_t slot) const
{
    if (slot == 0 && AlphaChosen(document_.Settings))
        return std::nullopt;
    return document_.PicImg[slot].BackColour();
}

void frmMain::RenderPane(std::int16_t slot)
{
    if (!IsSourceSlot(slot))
        return;
    // The block is the pane's outer size; what falls beyond its inner bitmap is clipped.
    Surface& pane = AREA[slot]->surface();
    BitBlt(pane.hDC(), 0, 0, AREA[slot]->width(), AREA[slot]->height(),
           document_.PicImg[slot].hDC(), HSCR[slot]->Value(), VSCR[slot]->Value(), SRCCOPY);
    pane.Refresh();
}
