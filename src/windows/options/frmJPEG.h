#pragma once
#include "windows/controls/GroupFrame.h"
#include "windows/controls/Label.h"
#include "windows/controls/PushButton.h"
#include "windows/controls/ScrollBar.h"

#include <QCheckBox>
#include <QDialog>
#include <cstdint>

struct SettingsRecord;

// The save-options dialog "保存オプション": JPEG rate, progressive JPEG and PNG rate of
// `settings`, which "保存" stores and writes to the settings file at once. Created for each
// use; loading it puts the settings into the controls. The handlers live in
// frmJPEG_Options.cpp; the controls are named as in the main window ("ASCR(0)").
class frmJPEG : public QDialog {
    Q_OBJECT
public:
    frmJPEG(QWidget* owner, SettingsRecord& settings);

    void Form_Load();
    void ASCR_Change(std::int16_t Index);
    void BTN_Click(std::int16_t Index);

private:
    SettingsRecord& settings_;
    GroupFrame* BoxLine[2];
    ScrollBar* ASCR[2];
    Label* DSP[2];
    Label* LBL[3];
    QCheckBox* CHK;
    PushButton* BTN[2];
};
