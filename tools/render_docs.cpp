// Renders the windows as a person sees them into PNG files for the README (the main
// window, and the composite view when both pictures open):
//   render_docs <output folder> [foreground picture] [background picture]
#include "app/Settings.h"
#include "ui/frmMain.h"
#include "ui/frmView.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (argc > 3) {
        Settings.Front = QString::fromLocal8Bit(argv[2]);
        Settings.Back = QString::fromLocal8Bit(argv[3]);
    }
    Settings.TransRate = 70;
    frmMain form;
    form.Form_Load();
    QApplication::processEvents();
    form.TMC->stop();
    if (!form.grab().save(out.filePath(QStringLiteral("main-window.png"))))
        return 1;
    // With both pictures loaded, "合成" opens the composite view: rendered beside it.
    form.BTN_Click(0);
    if (!form.View)
        return 0;
    QApplication::processEvents();
    form.View->Form_Activate();   // offscreen windows are not always activated
    form.View->TMC->stop();
    form.View->Shape1->SetBorderColor(Qt::red);
    return form.View->grab().save(out.filePath(QStringLiteral("composite-view.png"))) ? 0 : 1;
}
