#pragma once
#include "core/settings/Settings.h"
#include "windows/main/frmMain.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// A shown main window with default settings whose settings file would go to a temporary
// folder, its blink timer stopped so nothing changes behind a test's back.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        Settings = SettingsRecord{};
        Settings.IniPath = folder.filePath(QStringLiteral("Layerpix.ini"));
        form.TMC->stop();
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    void SetForeground(const QImage& picture) { form.PicImg[0]->surface().SetPicture(picture); }
    const QImage& Holder() { return form.PicImg[0]->surface().Image(); }
    const QImage& LoupeImage() { return form.Loupe->surface().Image(); }
    // Pane point `p` of AREA(index) in the widget's own coordinates, inside the border.
    QPoint PanePoint(int index, QPoint p) const
    {
        return p + QPoint(form.AREA[index]->borderWidth(), form.AREA[index]->borderWidth());
    }
    void Scroll(QPoint by)
    {
        form.HSCR[0]->SetValue(by.x());
        form.VSCR[0]->SetValue(by.y());
    }

    QTemporaryDir folder;
    frmMain form;
};
