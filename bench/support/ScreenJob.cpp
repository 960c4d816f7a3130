#include "ScreenJob.h"

#include "windows/controls/PictureBox.h"

#include <QApplication>
#include <QThread>

// Last: Xlib's macros clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

ScreenJob::ScreenJob(const QString& pictures, const PairSize& pair)
    : pictures_(pictures), pair_(pair), display_(XOpenDisplay(nullptr))
{
}

ScreenJob::~ScreenJob()
{
    job_.reset();
    if (display_ != nullptr)
        XCloseDisplay(display_);
}

double ScreenJob::FirstClick()
{
    job_.reset();
    job_ = std::make_unique<WindowJob>(pictures_, pair_, false);
    if (!job_->Main().isVisible())
        return -1;
    job_->Pause(kPairToClick);
    Document& d = job_->Doc();
    d.FrontX = pair_.back.width() / 6;
    d.FrontY = pair_.back.height() / 5;
    return ClickCompose();
}

double ScreenJob::ClickCompose()
{
    QWidget* button = job_->Main().findChild<QWidget*>(QStringLiteral("BTN(0)"));
    MoveTo(button->mapToGlobal(button->rect().center()));
    QElapsedTimer clock;
    clock.start();
    Button(true);
    Button(false);
    return WaitForComposite(clock);
}

WindowJob* ScreenJob::Composed()
{
    if (!job_ || job_->Board() == nullptr)
        if (FirstClick() < 0)
            return nullptr;
    return job_.get();
}

double ScreenJob::LaterClick()
{
    WindowJob* job = Composed();
    if (job == nullptr)
        return -1;
    step_ = -step_;
    job->Doc().FrontX += step_;
    // The view covers the main window: a person brings it forward first.
    job->Main().raise();
    job->Main().activateWindow();
    return ClickCompose();
}

double ScreenJob::Drop()
{
    WindowJob* job = Composed();
    if (job == nullptr)
        return -1;
    PictureBox* board = job->Board();
    const QWidget* marker = board->findChild<QWidget*>(QStringLiteral("Shape1"));
    // The marker's middle may lie beyond the screen; a point inside its top-left corner does not.
    const QPoint grab = board->mapToGlobal(marker->geometry().topLeft() + QPoint(60, 60));
    step_ = -step_;
    MoveTo(grab);
    Button(true);
    MoveTo(grab + QPoint(step_, step_));
    QElapsedTimer clock;
    clock.start();
    Button(false);
    return WaitForComposite(clock);
}

double ScreenJob::Nudge()
{
    WindowJob* job = Composed();
    if (job == nullptr)
        return -1;
    step_ = -step_;
    const unsigned long arrow = step_ > 0 ? XK_Right : XK_Left;
    Key(XK_Shift_L, true);
    QElapsedTimer clock;
    clock.start();
    Key(arrow, true);
    Key(arrow, false);
    Key(XK_Shift_L, false);
    return WaitForComposite(clock);
}

// The program has seen the pointer arrive before anything is timed.
void ScreenJob::MoveTo(QPoint global)
{
    XTestFakeMotionEvent(display_, -1, global.x(), global.y(), CurrentTime);
    XSync(display_, False);
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 100)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void ScreenJob::Button(bool down)
{
    XTestFakeButtonEvent(display_, 1, down ? True : False, CurrentTime);
    XFlush(display_);
}

void ScreenJob::Key(unsigned long symbol, bool down)
{
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, symbol), down ? True : False, CurrentTime);
    XFlush(display_);
}

double ScreenJob::WaitForComposite(const QElapsedTimer& clock)
{
    while (clock.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (CompositeOnScreen())
            return double(clock.nsecsElapsed()) / 1e9;
        QThread::usleep(500);
    }
    return -1;
}

// Samples well inside the foreground's shown part, away from the marker on its edge, so
// that a composite with the foreground elsewhere, or none yet, does not pass. The screen
// may still show the last composite while the board holds the new one: the board's pixels
// are taken once it is composed at the document's place.
bool ScreenJob::CompositeOnScreen()
{
    PictureBox* board = job_->Board();
    if (board == nullptr || !board->isVisible() || board->Zoom() != 1.0)
        return false;
    const QImage& composite = board->surface().Image();
    if (composite.size() != pair_.back)
        return false;
    // Composed at the document's place: the composition places the marker there.
    const Document& d = job_->Doc();
    const QWidget* marker = board->findChild<QWidget*>(QStringLiteral("Shape1"));
    if (marker->geometry().topLeft() != QPoint(d.FrontX, d.FrontY))
        return false;
    const QRect front = QRect(QPoint(d.FrontX, d.FrontY), pair_.front).adjusted(20, 20, -20, -20);
    const QRect sampled = front & board->visibleRegion().boundingRect().adjusted(0, 0, -20, -20);
    if (sampled.width() < 4 || sampled.height() < 4)
        return false;
    const Window root = DefaultRootWindow(display_);
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) {
            const QPoint at(sampled.left() + sampled.width() * i / 4, sampled.top() + sampled.height() * j / 4);
            const QPoint global = board->mapToGlobal(at);
            XImage* image = XGetImage(display_, root, global.x(), global.y(), 1, 1, AllPlanes, ZPixmap);
            if (image == nullptr)
                return false;
            const unsigned long shown = XGetPixel(image, 0, 0) & 0xFFFFFF;
            XDestroyImage(image);
            if (shown != (composite.pixel(at) & 0xFFFFFF))
                return false;
        }
    return true;
}
