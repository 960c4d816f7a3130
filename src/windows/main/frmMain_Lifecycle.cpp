#include "core/document/Document.h"
#include "core/surfaces/QtColour.h"
#include "windows/main/frmMain.h"
#include "windows/view/frmView.h"

#include <algorithm>

void frmMain::Form_Load()
{
    InitMainWindow();
}

void frmMain::InitMainWindow()
{
    const SettingsRecord& settings = document_.Settings;
    if (settings.WindowWidth > 0 && settings.WindowHeight > 0)
        resize(QSize(settings.WindowWidth, settings.WindowHeight).expandedTo(minimumSize()));
    // Visible first, so the window is on screen while the saved pictures load.
    show();
    DSP[0]->SetBackColour(QtColourOf(settings.TransColor));
    // The spinner holds 0 to 100, so a hand-edited rate outside that is clamped; the
    // read-out and the rate follow the spinner even when its value does not change.
    const std::int16_t before = Trans->Value();
    Trans->SetValue(static_cast<std::int16_t>(std::clamp(settings.TransRate, 0, 100)));
    if (Trans->Value() == before)
        Trans_Change();
    FLD[0]->setText(settings.Front);
    FLD[1]->setText(settings.Back);
    for (std::int16_t slot : {0, 1}) {
        if (!FLD[slot]->text().isEmpty())
            OpenSourcePicture(FLD[slot]->text(), slot);
    }
}

void frmMain::Form_QueryUnload(std::int16_t& Cancel, std::int16_t UnloadMode)
{
    Q_UNUSED(UnloadMode);
    SettingsRecord& settings = document_.Settings;
    settings.Front = FLD[0]->text();
    settings.Back = FLD[1]->text();
    // The size is kept once the window was enlarged, and from then on whatever it is.
    if (size() != kStartSize || settings.WindowWidth > 0) {
        settings.WindowWidth = static_cast<std::int16_t>(std::min(width(), 32767));
        settings.WindowHeight = static_cast<std::int16_t>(std::min(height(), 32767));
    }
    // A failed save is not reported: closing goes on, as it always does.
    (void)SaveSettings(settings);
    if (View_)
        View_->close();
    // Closing never asks and is never cancelled.
    Cancel = 0;
}
