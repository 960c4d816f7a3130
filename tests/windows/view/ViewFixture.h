#pragma once
#include "core/document/FrontPosition.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPictures.h"
#include "windows/main/MainWindowFixture.h"
#include "windows/view/frmView.h"

// Two pictures composed once, an opaque foreground at (20, 10), and the view that opened.
class ViewFixture : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Settings.TransColor = 0x00FF00FF;
        Settings.TransRate = 100;
        main.PicImg[0]->surface().SetPicture(front);
        main.PicImg[1]->surface().SetPicture(back);
        FrontX = 20, FrontY = 10;
        main.BTN_Click(0);
        ASSERT_FALSE(main.View.isNull());
        view = main.View;
    }

    const QImage front = NoisePicture(40, 30, 1);
    const QImage back = GradientPicture(120, 90);
    ScriptedDialogsScope dialogs;
    frmMain& main = form;
    frmView* view = nullptr;
};
