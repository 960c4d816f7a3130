#include "core/document/Document.h"
#include "windows/dialogs/clsDialog.h"
#include "core/surfaces/QtColour.h"
#include "base/Rounding.h"
#include "core/transparency/Loupe.h"
#include "core/transparency/Recolour.h"
#include "windows/main/frmMain.h"

namespace {
// The foreground pane shows the picture from the scroll bars' values on, so a pane point
// and a picture point differ by those values.
std::int32_t PictureCoordinate(float panePoint, const ScrollBar& offset)
{
    return RoundToInt32(double(panePoint) + offset.Value());
}
} // namespace

// A click on the foreground repaints every pixel of the clicked colour in the key colour,
// so a plain backdrop becomes transparent in the next composite; the key stays as it is.
// Any button and any shift state pick. A bitmap that cannot be read stays untouched.
void frmMain::AREA_MouseDown(std::int16_t Index, std::int16_t Button, std::int16_t Shift,
                             float X, float Y)
{
    Surface& picture = document_.PicImg[0];
    const std::int32_t pictureX = PictureCoordinate(X, *HSCR[0]);
    const std::int32_t pictureY = PictureCoordinate(Y, *VSCR[0]);
    if (Index != 0 || !picture.HasPicture() || pictureX < 0 || pictureX >= picture.Width() ||
        pictureY < 0 || pictureY >= picture.Height())
        return;
    if (RecolourLikePixel(picture, pictureX, pictureY, document_.Settings.TransColor,
                          document_.Recolourings))
        RenderPane(0);
    AREA_MouseMove(Index, Button, Shift, X, Y);
}

// Over the foreground pane the loupe follows the pointer, whatever the buttons; it does
// not ask whether a picture is loaded, an empty holder simply shows its background.
void frmMain::AREA_MouseMove(std::int16_t Index, std::int16_t, std::int16_t, float X, float Y)
{
    if (Index != 0)
        return;
    loupePoint_ = QPoint(PictureCoordinate(X, *HSCR[0]), PictureCoordinate(Y, *VSCR[0]));
    DrawLoupe(Loupe->surface(), document_.PicImg[0], loupePoint_->x(), loupePoint_->y());
}

// The swatch chooses the key colour in the colour dialog, which opens at the current key;
// the rate read-out beside it opens nothing.
void frmMain::DSP_Click(std::int16_t Index)
{
    if (Index != 0)
        return;
    clsDialog dialog;
    dialog.SelectTitle = QStringLiteral("透明の色");
    dialog.SelectColor = document_.Settings.TransColor;
    if (!dialog.ColorCode(this))
        return;
    document_.Settings.TransColor = dialog.SelectColor;
    DSP[0]->SetBackColour(QtColourOf(dialog.SelectColor));
}
