#include "platform/QtColor.h"
#include "platform/Random.h"
#include "ui/frmMain.h"

void frmMain::TMC_Timer()
{
    Shape1->SetBorderColor(ToQColor(RandomColor()));
}
