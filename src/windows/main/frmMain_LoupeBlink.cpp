#include "core/surfaces/QtColour.h"
#include "base/Random.h"
#include "windows/main/frmMain.h"

void frmMain::TMC_Timer()
{
    Shape1->SetBorderColor(QtColourOf(RandomColour()));
}
