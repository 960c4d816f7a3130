#include "ui/frmView.h"

// The composite view's behaviour is not built yet.
void frmView::Form_Activate() {}
void frmView::Board_MouseDown(std::int16_t, std::int16_t, float, float) {}
void frmView::Board_MouseMove(std::int16_t, std::int16_t, float, float) {}
void frmView::Board_MouseUp(std::int16_t, std::int16_t, float, float) {}
void frmView::Board_DblClick() {}
void frmView::TMC_Timer() {}
void frmView::SaveComposite() {}
