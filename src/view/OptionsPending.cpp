#include "ui/frmJPEG.h"

// The save options' behaviour is not built yet.
void frmJPEG::Form_Load() {}
void frmJPEG::ASCR_Change(std::int16_t) {}
void frmJPEG::BTN_Click(std::int16_t) {}
