#include "ui/frmMain.h"

// Opening pictures is not built yet: every load fails and leaves the slot as it was.
void frmMain::OpenSourcePicture(const QString&, std::int16_t) {}
std::int16_t frmMain::LoadSourceImage(const QString&, std::int16_t) { return 1; }
void frmMain::RenderPane(std::int16_t) {}
void frmMain::FLD_KeyDown(std::int16_t, std::int16_t, std::int16_t) {}
void frmMain::FLD_OLEDragDrop(std::int16_t, const QMimeData*, std::int32_t, std::int16_t,
                              std::int16_t, float, float) {}
void frmMain::AREA_OLEDragDrop(std::int16_t, const QMimeData*, std::int32_t, std::int16_t,
                               std::int16_t, float, float) {}
void frmMain::DBTN_Click(std::int16_t) {}
void frmMain::HSCR_Change(std::int16_t) {}
void frmMain::VSCR_Change(std::int16_t) {}
