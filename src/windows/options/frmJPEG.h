#pragma once
#include "windows/controls/GroupFrame.h"
#include "windows/controls/Label.h"
#include "windows/controls/PushButton.h"
#include "windows/controls/ScrollBar.h"

#include <QCheckBox>
#include <QDialog>
#include <cstdint>

// The save-options dialog "保存オプション": JPEG rate, progressive JPEG and PNG rate.
// Created for each use; loading it puts the settings into the controls. The handlers
// live in view/.
class frmJPEG : public QDialog {
    Q_OBJECT
public:
    explicit frmJPEG(QWidget* owner);

    GroupFrame* BoxLine[2];
    ScrollBar* ASCR[2];
    Label* DSP[2];
    Label* LBL[3];
    QCheckBox* CHK;
    PushButton* BTN[2];

    void Form_Load();
    void ASCR_Change(std::int16_t Index);
    void BTN_Click(std::int16_t Index);
};
