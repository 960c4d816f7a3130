// Renders the windows as a person sees them into PNG files for the README:
//   render_docs <output folder>
// It draws two pictures of its own (a landscape and a logo on a white backdrop), opens
// them, clicks the white backdrop away, composes with 30 percent transparency and renders
// the main window, the composite view and the save-options dialog.
#include "app/JapaneseInterface.h"
#include "core/document/Document.h"
#include "windows/options/frmJPEG.h"
#include "windows/main/frmMain.h"
#include "windows/view/frmView.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <QTimer>

namespace {
QImage Landscape()
{
    QImage picture(360, 240, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(0x3A, 0x7B, 0xD5));
    sky.setColorAt(1, QColor(0xBF, 0xE3, 0xFF));
    painter.fillRect(picture.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xFF, 0xE0, 0x80));
    painter.drawEllipse(QPoint(290, 50), 24, 24);
    QPainterPath hills(QPointF(0, 170));
    hills.cubicTo(90, 120, 180, 200, 360, 150);
    hills.lineTo(360, 240);
    hills.lineTo(0, 240);
    painter.setBrush(QColor(0x4C, 0x9A, 0x4A));
    painter.drawPath(hills);
    return picture;
}

QImage Logo()
{
    QImage picture(120, 90, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xD0, 0x30, 0x30));
    painter.drawRect(10, 10, 60, 60);
    painter.setBrush(QColor(0xF0, 0xB0, 0x20));
    painter.drawRect(45, 30, 60, 50);
    return picture;
}
// The window's marker stands still in red, so each picture comes out the same.
void StopBlinking(QWidget& window)
{
    window.findChild<QTimer*>(QStringLiteral("TMC"))->stop();
    window.findChild<Shape*>(QStringLiteral("Shape1"))->SetBorderColor(Qt::red);
}
} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    UseJapaneseInterface(app);
    QTemporaryDir pictures;
    if (argc < 2 || !pictures.isValid())
        return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    SettingsRecord settings;
    settings.Front = pictures.filePath(QStringLiteral("logo.png"));
    settings.Back = pictures.filePath(QStringLiteral("landscape.jpg"));
    if (!Logo().save(settings.Front) || !Landscape().save(settings.Back, "JPEG", 92))
        return 1;
    settings.IniPath = pictures.filePath(QStringLiteral("Layerpix.ini"));
    settings.TransColor = 0x00FF00FF;
    settings.TransRate = 70;

    Document document(settings);
    frmMain form(document);
    form.Form_Load();
    form.AREA_MouseDown(0, 1, 0, 2, 2);    // the white backdrop becomes transparent
    form.AREA_MouseMove(0, 0, 0, 10, 10);  // the magnifier at the logo's corner
    QApplication::processEvents();
    StopBlinking(form);
    if (!form.grab().save(out.filePath(QStringLiteral("main-window.png"))))
        return 1;

    form.BTN_Click(0);
    frmView* view = form.View();
    if (!view)
        return 1;
    view->Board_MouseDown(1, 0, 1, 1);   // drag the foreground to the right
    view->Board_MouseUp(1, 0, 201, 111);
    QApplication::processEvents();
    view->Form_Activate();   // offscreen windows are not always activated
    QApplication::processEvents();
    StopBlinking(*view);
    if (!view->grab().save(out.filePath(QStringLiteral("composite-view.png"))))
        return 1;

    document.Settings.JpegPrgrs = -1;
    frmJPEG options(&form, document.Settings);
    options.show();
    QApplication::processEvents();
    return options.grab().save(out.filePath(QStringLiteral("save-options.png"))) ? 0 : 1;
}
