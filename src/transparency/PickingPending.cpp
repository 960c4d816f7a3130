#include "ui/frmMain.h"

// Colour picking and the magnifier are not built yet.
void frmMain::AREA_MouseDown(std::int16_t, std::int16_t, std::int16_t, float, float) {}
void frmMain::AREA_MouseMove(std::int16_t, std::int16_t, std::int16_t, float, float) {}
void frmMain::DSP_Click(std::int16_t) {}
