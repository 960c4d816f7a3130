#include "core/document/Document.h"
#include "windows/main/frmMain.h"

// The spinner holds the foreground's weight; the read-out shows the transparency, the
// rest to 100. The upper arrow of a vertical scroll bar lowers the value, so it makes the
// foreground more transparent.
void frmMain::Trans_Change()
{
    document_.Settings.TransRate = Trans->Value();
    DSP[1]->setText(QString::number(100 - Trans->Value()));
}
