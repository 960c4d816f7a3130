#include "windows/main/frmMain.h"

#include "core/document/Document.h"
#include "core/surfaces/SystemColours.h"
#include "windows/controls/AppIcon.h"
#include "windows/controls/InputCodes.h"
#include "windows/view/frmView.h"

#include <QCloseEvent>

namespace {
template <typename Control>
Control* Named(Control* control, const char* name, int index = -1)
{
    control->setObjectName(index < 0 ? QString::fromLatin1(name)
                                     : QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index));
    return control;
}

Label* Caption(QWidget* parent, const QString& text, int y)
{
    return new Label(parent, text, QRect(8, y, 73, 17), BorderStyle::ThreeD, Qt::AlignHCenter,
                     false);
}
} // namespace

frmMain::frmMain(Document& document) : document_(document)
{
    setWindowTitle(QStringLiteral("Layerpix"));
    setWindowIcon(AppIcon());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, COLOR_BTNFACE);
    setPalette(pal);
    // At its start size every control lies where the fixed layout puts it; the window can be
    // enlarged, and the panes grow with it (frmMain_Layout.cpp).
    setGeometry(QRect(QPoint(4, 38), kStartSize));
    setMinimumSize(kStartSize);
    CreateControls();
    CreateChoices();
    AnchorControls();
    WireEvents();
    WireUndo();
    SetTabOrder();
}

frmMain::~frmMain()
{
    delete View_;
}

void frmMain::CreateControls()
{
    Trans = Named(new ScrollBar(this, Qt::Vertical, QRect(64, 184, 17, 17), 0, 100, 0), "Trans");
    TMC = Named(new QTimer(this), "TMC");
    TMC->setInterval(100);
    TMC->start();
    Loupe = Named(new PictureBox(this, QRect(8, 32, 74, 74), BorderStyle::Flat, COLOR_WINDOW), "Loupe");
    Shape1 = Named(new Shape(Loupe, QRect(Loupe->borderWidth() + 31, Loupe->borderWidth() + 31, 10, 10)), "Shape1");
    for (int slot : {0, 1}) {
        AREA[slot] = Named(new PictureBox(this, QRect(88, slot == 0 ? 24 : 240, 209, 177),
                                          BorderStyle::ThreeD, COLOR_BTNFACE), "AREA", slot);
        AREA[slot]->setAcceptFiles(true);
        // The panes report the pointer even with no button held, for the magnifier, and
        // take the focus when clicked, so a path field gives up its caret and its keys.
        AREA[slot]->setMouseTracking(true);
        AREA[slot]->setFocusPolicy(Qt::ClickFocus);
    }
    HSCR[1] = Named(new ScrollBar(this, Qt::Horizontal, QRect(88, 416, 209, 17), 0, 32767, 0), "HSCR", 1);
    HSCR[0] = Named(new ScrollBar(this, Qt::Horizontal, QRect(88, 200, 209, 17), 0, 32767, 0), "HSCR", 0);
    VSCR[1] = Named(new ScrollBar(this, Qt::Vertical, QRect(296, 240, 17, 177), 0, 32767, 0), "VSCR", 1);
    VSCR[0] = Named(new ScrollBar(this, Qt::Vertical, QRect(296, 24, 17, 177), 0, 32767, 0), "VSCR", 0);
    FLD[1] = Named(new TextField(this, QRect(88, 224, 209, 18)), "FLD", 1);
    FLD[0] = Named(new TextField(this, QRect(88, 8, 209, 18)), "FLD", 0);
    DBTN[1] = Named(new PushButton(this, QStringLiteral("..."), QRect(296, 224, 17, 17)), "DBTN", 1);
    BTN[1] = Named(new PushButton(this, QStringLiteral("ｵﾌﾟｼｮﾝ"), QRect(64, 448, 49, 25)), "BTN", 1);
    BTN[2] = Named(new PushButton(this, QStringLiteral("閉じる"), QRect(264, 448, 49, 25)), "BTN", 2);
    DBTN[0] = Named(new PushButton(this, QStringLiteral("..."), QRect(296, 8, 17, 17)), "DBTN", 0);
    BTN[0] = Named(new PushButton(this, QStringLiteral("合成"), QRect(8, 448, 49, 25)), "BTN", 0);
    DSP[1] = Named(new Label(this, QStringLiteral("0"), QRect(32, 184, 33, 17), BorderStyle::ThreeD,
                             Qt::AlignRight, true), "DSP", 1);
    DSP[1]->SetBackColour(Qt::white);
    LBL[3] = Named(Caption(this, QStringLiteral("透明度"), 160), "LBL", 3);
    DSP[0] = Named(new Label(this, QString(), QRect(32, 136, 49, 17), BorderStyle::Flat,
                             Qt::AlignLeft, true), "DSP", 0);
    DSP[0]->SetBackColour(Qt::black);
    LBL[1] = Named(Caption(this, QStringLiteral("透明の色"), 112), "LBL", 1);
    LBL[2] = Named(Caption(this, QStringLiteral("背景の絵"), 228), "LBL", 2);
    LBL[0] = Named(Caption(this, QStringLiteral("前景の絵"), 12), "LBL", 0);
}

// Qt's buttons, modifiers and keys become the handlers' fixed codes here, where each
// handler is called.
void frmMain::WireEvents()
{
    connect(Trans, &ScrollBar::change, this, [this] { Trans_Change(); });
    connect(TMC, &QTimer::timeout, this, [this] { TMC_Timer(); });
    for (std::int16_t i : {0, 1}) {
        connect(AREA[i], &PictureBox::mouseDown, this,
                [this, i](Qt::MouseButton b, Qt::KeyboardModifiers m, QPointF p) {
                    AREA_MouseDown(i, ButtonCode(b), ShiftCode(m), float(p.x()), float(p.y()));
                });
        connect(AREA[i], &PictureBox::mouseMove, this,
                [this, i](Qt::MouseButtons b, Qt::KeyboardModifiers m, QPointF p) {
                    AREA_MouseMove(i, ButtonCode(b), ShiftCode(m), float(p.x()), float(p.y()));
                });
        connect(AREA[i], &PictureBox::filesDropped, this,
                [this, i](const QMimeData* d, Qt::MouseButtons b, Qt::KeyboardModifiers m, QPointF p) {
                    AREA_OLEDragDrop(i, d, 0, ButtonCode(b), ShiftCode(m), float(p.x()), float(p.y()));
                });
        connect(FLD[i], &TextField::keyDown, this, [this, i](int key, Qt::KeyboardModifiers m) {
            FLD_KeyDown(i, KeyCode(key), ShiftCode(m));
        });
        connect(FLD[i], &TextField::filesDropped, this,
                [this, i](const QMimeData* d, Qt::MouseButtons b, Qt::KeyboardModifiers m, QPointF p) {
                    FLD_OLEDragDrop(i, d, 0, ButtonCode(b), ShiftCode(m), float(p.x()), float(p.y()));
                });
        connect(DBTN[i], &QPushButton::clicked, this, [this, i] { DBTN_Click(i); });
        connect(HSCR[i], &ScrollBar::change, this, [this, i] { HSCR_Change(i); });
        connect(VSCR[i], &ScrollBar::change, this, [this, i] { VSCR_Change(i); });
        connect(DSP[i], &Label::clicked, this, [this, i] { DSP_Click(i); });
    }
    for (std::int16_t i : {0, 1, 2})
        connect(BTN[i], &QPushButton::clicked, this, [this, i] { BTN_Click(i); });
}

void frmMain::SetTabOrder()
{
    // Only buttons, fields and scroll bars take the focus; "合成" comes first.
    QWidget* order[] = {BTN[0], DBTN[0], BTN[2], BTN[1], DBTN[1], FLD[0], FLD[1], VSCR[0],
                        VSCR[1], HSCR[0], HSCR[1], Trans};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    BTN[0]->setFocus();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    std::int16_t cancel = 0;
    Form_QueryUnload(cancel, 0);
    if (cancel)
        event->ignore();
    else
        event->accept();
}

frmView* frmMain::View() const
{
    return View_;
}
