#include "windows/view/frmView.h"

#include "core/surfaces/SystemColors.h"

#include <QEvent>
#include <QScrollArea>

frmView::frmView(frmMain& main) : QWidget(nullptr, Qt::Tool), main_(main)
{
    setWindowTitle(Caption);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(194, 179);
    // A composite larger than the screen scrolls; Board's coordinates stay the composite's.
    scroller_ = new QScrollArea(this);
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setFocusPolicy(Qt::NoFocus);
    scroller_->setGeometry(0, 0, 194, 179);
    Board = new PictureBox(nullptr, QRect(0, 0, 200, 200), BorderStyle::None, COLOR_BTNFACE);
    Board->surface().AutoSize = true;
    // The window's only control that takes the focus.
    Board->setFocusPolicy(Qt::StrongFocus);
    scroller_->setWidget(Board);
    TMC = new QTimer(Board);
    TMC->setInterval(100);
    TMC->start();
    Shape1 = new Shape(Board, QRect(-1, -1, 1, 1));
    captionReset_ = new QTimer(this);
    captionReset_->setSingleShot(true);
    captionReset_->setInterval(1500);

    connect(captionReset_, &QTimer::timeout, this, [this] { setWindowTitle(Caption); });
    connect(TMC, &QTimer::timeout, this, [this] { TMC_Timer(); });
    connect(Board, &PictureBox::mouseDown, this, &frmView::Board_MouseDown);
    connect(Board, &PictureBox::mouseMove, this, &frmView::Board_MouseMove);
    connect(Board, &PictureBox::mouseUp, this, &frmView::Board_MouseUp);
    connect(Board, &PictureBox::doubleClicked, this, &frmView::Board_DblClick);
    connect(Board, &PictureBox::keyDown, this, &frmView::Board_KeyDown);
    connect(Board, &PictureBox::mouseWheel, this, &frmView::Board_MouseWheel);
}

bool frmView::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    if (event->type() == QEvent::Resize)
        scroller_->resize(size());
    return QWidget::event(event);
}
