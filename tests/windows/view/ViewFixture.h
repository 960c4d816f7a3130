#pragma once
#include "support/ScriptedDialogs.h"
#include "support/TestPictures.h"
#include "windows/TemporaryDocument.h"
#include "windows/view/frmView.h"

#include <QPointer>
#include <QTimer>

// A composite view of its own document, an opaque foreground at (20, 10), the blink stopped.
class ViewFixture : public testing::Test, protected TemporaryDocument {
protected:
    ~ViewFixture() override { delete view; }
    void SetUp() override
    {
        settings.TransColor = 0x00FF00FF;
        settings.TransRate = 100;
        Find<QTimer>(*view, "TMC").stop();
        Show(front, back);
    }
    // As "合成" does from another window; activated, the view fits itself.
    void Show(const QImage& foreground, const QImage& background)
    {
        document.PicImg[0].SetPicture(foreground);
        document.PicImg[1].SetPicture(background);
        document.FrontX = 20, document.FrontY = 10;
        view->Compose();
        mainWindow.show();
        mainWindow.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
        view->Present();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    }
    PictureBox& Board() { return Find<PictureBox>(*view, "Board"); }
    const QImage& Composite() { return Board().surface().Image(); }
    QRect Marker() { return Find<Shape>(*view, "Shape1").Bounds(); }
    QPoint Front() const { return {document.FrontX, document.FrontY}; }

    const QImage front = NoisePicture(40, 30, 1), back = GradientPicture(120, 90);
    ScriptedDialogsScope dialogs;
    QWidget mainWindow;
    QPointer<frmView> view = new frmView(document);
};
