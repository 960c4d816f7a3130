#include "core/settings/Settings.h"
#include "windows/options/frmJPEG.h"
#include "core/view/PngRateTable.h"

#include <algorithm>

// The dialog always starts from the stored options. A hand-edited JPEG rate outside
// 1..100 cannot be shown by the bar, so it shows (and "保存" stores) the nearest end; a
// PNG rate outside the table leaves the bar at its design position 1.
void frmJPEG::Form_Load()
{
    ASCR[0]->SetValue(std::clamp<std::int16_t>(settings_.JpegRate, 1, 100));
    CHK->setCheckState(settings_.JpegPrgrs != 0 ? Qt::Checked : Qt::Unchecked);
    if (const auto position = PngPositionOfRate(settings_.PngRate))
        ASCR[1]->SetValue(*position);
}

void frmJPEG::ASCR_Change(std::int16_t Index)
{
    DSP[Index]->setText(QString::number(ASCR[Index]->Value()));
}

// "保存" stores the options and writes the settings file at once; "閉じる" and the
// window's close box store nothing.
void frmJPEG::BTN_Click(std::int16_t Index)
{
    if (Index == 0) {
        settings_.JpegRate = ASCR[0]->Value();
        settings_.JpegPrgrs = CHK->checkState() == Qt::Checked ? -1 : 0;
        settings_.PngRate = PngRateAtPosition.at(std::size_t(ASCR[1]->Value()));
        (void)SaveSettings(settings_);   // a failed save keeps the options in memory
    }
    close();
}
