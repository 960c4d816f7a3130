#include "windows/view/frmView.h"

#include "core/compose/ComposeImages.h"
#include "core/document/Document.h"
#include "core/surfaces/BitmapMemory.h"
#include "core/surfaces/SystemColours.h"
#include "windows/controls/InputCodes.h"

#include <QEvent>
#include <QScrollArea>

namespace {
// The view as the engine draws into it: the board and the foreground's marker.
class BoardAndMarker final : public CompositeTarget {
public:
    BoardAndMarker(PictureBox& board, Shape& marker) : board_(board), marker_(marker) {}

    Surface& Board() override { return board_.surface(); }
    void PlaceMarker(std::int32_t left, std::int32_t top, std::int32_t width,
                     std::int32_t height) override
    {
        marker_.SetBounds(QRect(left, top, width, height));
    }
    void Refresh() override { board_.surface().Refresh(); }

private:
    PictureBox& board_;
    Shape& marker_;
};
} // namespace

frmView::frmView(Document& document, PreparedBitmap& boardMemory)
    : QWidget(nullptr, Qt::Tool), document_(document), boardMemory_(boardMemory)
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
    Board->setObjectName(QStringLiteral("Board"));
    Board->surface().AutoSize = true;
    // The window's only control that takes the focus.
    Board->setFocusPolicy(Qt::StrongFocus);
    // Nothing on the view shows how it is used.
    Board->setToolTip(QStringLiteral("枠をドラッグして前景を移動\n右ボタンを離すと保存、ダブルクリックでコピー\n"
                                     "Ctrl+ホイールで拡大・縮小"));
    scroller_->setWidget(Board);
    TMC = new QTimer(Board);
    TMC->setObjectName(QStringLiteral("TMC"));
    TMC->setInterval(100);
    TMC->start();
    Shape1 = new Shape(Board, QRect(-1, -1, 1, 1));
    Shape1->setObjectName(QStringLiteral("Shape1"));
    captionReset_ = new QTimer(this);
    captionReset_->setSingleShot(true);
    captionReset_->setInterval(1500);

    // Qt's buttons and modifiers become the handlers' fixed codes where they are called.
    connect(captionReset_, &QTimer::timeout, this, [this] { setWindowTitle(ZoomCaption()); });
    connect(Board, &PictureBox::zoomChanged, this, [this] { setWindowTitle(ZoomCaption()); });
    connect(TMC, &QTimer::timeout, this, [this] { TMC_Timer(); });
    connect(Board, &PictureBox::mouseDown, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers m, QPointF p) {
                Board_MouseDown(ButtonCode(b), ShiftCode(m), float(p.x()), float(p.y()));
            });
    connect(Board, &PictureBox::mouseMove, this,
            [this](Qt::MouseButtons b, Qt::KeyboardModifiers m, QPointF p) {
                Board_MouseMove(ButtonCode(b), ShiftCode(m), float(p.x()), float(p.y()));
            });
    connect(Board, &PictureBox::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers m, QPointF p) {
                Board_MouseUp(ButtonCode(b), ShiftCode(m), float(p.x()), float(p.y()));
            });
    connect(Board, &PictureBox::doubleClicked, this, &frmView::Board_DblClick);
    connect(Board, &PictureBox::keyDown, this,
            [this](int key, Qt::KeyboardModifiers m, bool& used) { used = Board_KeyDown(key, m); });
    connect(Board, &PictureBox::mouseWheel, this,
            [this](int delta, Qt::KeyboardModifiers m, QPointF p, bool& used) {
                used = Board_MouseWheel(delta, m, p);
            });
}

frmView::~frmView()
{
    boardMemory_.Keep(std::move(Board->surface().hDC()));
}

void frmView::Compose()
{
    BoardAndMarker target(*Board, *Shape1);
    Document& d = document_;
    // The engine gives the board the background's size: into memory got ready for it, so
    // the first composite does not wait for the system to clear fresh pages.
    const Surface& back = d.PicImg[1];
    Surface& board = Board->surface();
    if (board.Width() != back.Width() || board.Height() != back.Height())
        if (QImage ready = boardMemory_.Take(back.Width(), back.Height()); !ready.isNull())
            board.TakeBitmap(std::move(ready));
    ComposeImages(d.Settings.TransColor, KeyToleranceChosen(d.Settings), d.Settings.TransRate,
                  d.FrontX, d.FrontY, {d.PicImg[0], d.PicImg[1], &d.PicImg[2]}, target);
    boardMetadata_ = d.BackMetadata;
    boardBackFile_ = d.BackFile;
    boardBackChanged_ = d.BackFileChanged;
    boardFront_ = QRect(d.FrontX, d.FrontY, d.PicImg[0].Width(), d.PicImg[0].Height());
}

void frmView::Present()
{
    Form_Activate();
    show();
    raise();
    activateWindow();
    Board->surface().Refresh();
}

bool frmView::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    if (event->type() == QEvent::Resize)
        scroller_->resize(size());
    return QWidget::event(event);
}
