#pragma once
#include "windows/controls/Label.h"
#include "windows/controls/PushButton.h"

#include <QDialog>
#include <QSpinBox>
#include <cstdint>

struct SettingsRecord;

// The dialog "キー色の許容範囲" of the main window's menu: the key's tolerance of `settings`
// in percent, 0 to 100, in the spin box "SPN". "OK" stores it (it reaches the settings file
// when the main window closes), "キャンセル" and the close box store nothing.
class frmTolerance : public QDialog {
    Q_OBJECT
public:
    frmTolerance(QWidget* owner, SettingsRecord& settings);

    void BTN_Click(std::int16_t Index);

private:
    SettingsRecord& settings_;
    Label* LBL;
    QSpinBox* SPN;
    PushButton* BTN[2];
};
