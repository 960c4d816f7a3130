#include "WindowJob.h"

#include "windows/view/frmView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTest>
#include <cstring>

bool PaintSpy::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && composed)
        painted = true;
    return QObject::eventFilter(watched, event);
}

WindowJob::WindowJob(const QString& pictures, const PairSize& pair, bool composeFirst)
    : pair_(pair)
{
    main_.show();
    if (!QTest::qWaitForWindowExposed(&main_))
        return;
    document_.Settings.TransColor = kKeyColour;
    document_.Settings.TransRate = 50;
    main_.OpenSourcePicture(PicturePath(pictures, pair, PictureKind::Front, "png"), 0);
    main_.OpenSourcePicture(PicturePath(pictures, pair, PictureKind::Back, "png"), 1);
    if (document_.PicImg[1].Width() != pair.back.width())
        return;
    ready_ = !composeFirst || (ClickToPainted() > 0 && ClickToPainted() > 0);
}

void WindowJob::Pause(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

double WindowJob::ClickToPainted()
{
    document_.FrontX = pair_.back.width() / 6;
    document_.FrontY = pair_.back.height() / 5;
    QElapsedTimer clock;
    clock.start();
    spy_.Reset();
    QTest::mouseClick(main_.findChild<QWidget*>(QStringLiteral("BTN(0)")), Qt::LeftButton);
    return WaitForPaint(clock);
}

double WindowJob::ClickToNewViewPainted()
{
    main_.View()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ClickToPainted();
}

double WindowJob::DropToPainted()
{
    QWidget* board = Board();
    const QPoint grab = main_.View()->findChild<QWidget*>(QStringLiteral("Shape1"))->geometry().center();
    QTest::mousePress(board, Qt::LeftButton, {}, grab);
    const QPoint drop = grab + QPoint(37, 23) * step_;
    step_ = -step_;
    QElapsedTimer clock;
    clock.start();
    spy_.Reset();
    QTest::mouseRelease(board, Qt::LeftButton, {}, drop);
    return WaitForPaint(clock);
}

double WindowJob::NudgeToPainted(int repeats)
{
    QWidget* board = Board();
    const Qt::Key key = step_ > 0 ? Qt::Key_Right : Qt::Key_Left;
    step_ = -step_;
    QElapsedTimer clock;
    clock.start();
    spy_.Reset();
    for (int i = 0; i < repeats; ++i) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::ShiftModifier, QString(), i > 0);
        QApplication::sendEvent(board, &press);
    }
    return WaitForPaint(clock);
}

double WindowJob::RecompositionFloor()
{
    QElapsedTimer clock;
    clock.start();
    main_.View()->Compose();
    Board()->repaint();
    return double(clock.nsecsElapsed()) / 1e9;
}

double WindowJob::FitRepaint()
{
    Zoom(Qt::Key_0);
    QElapsedTimer clock;
    clock.start();
    Board()->repaint();
    return double(clock.nsecsElapsed()) / 1e9;
}

double WindowJob::NearestPaintFloor()
{
    Zoom(Qt::Key_0);
    const PictureBox& board = *Board();
    const QSize shown = board.visibleRegion().boundingRect().size();
    if (screen_.size() != shown) {
        screen_ = QImage(shown, QImage::Format_ARGB32_Premultiplied);
        screen_.fill(Qt::black);
    }
    const QImage& composite = board.surface().Image();
    QElapsedTimer clock;
    clock.start();
    QPainter painter(&screen_);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(composite.size()) * board.Zoom()), composite);
    painter.end();
    return double(clock.nsecsElapsed()) / 1e9;
}

void WindowJob::Zoom(Qt::Key key)
{
    QTest::keyClick(Board(), key, Qt::ControlModifier);
    QCoreApplication::processEvents();
}

double WindowJob::Floor()
{
    const QImage& back = document_.PicImg[1].Image();
    const QImage& front = document_.PicImg[0].Image();
    if (floorBoard_.size() != back.size()) {
        floorBoard_ = QImage(back.size(), QImage::Format_RGB32);
        floorBoard_.fill(Qt::black);
    }
    const QRect shown = Board()->visibleRegion().boundingRect();
    if (screen_.size() != shown.size()) {
        screen_ = QImage(shown.size(), QImage::Format_ARGB32_Premultiplied);
        screen_.fill(Qt::black);
    }
    QElapsedTimer clock;
    clock.start();
    std::memcpy(floorBoard_.bits(), back.constBits(), std::size_t(back.sizeInBytes()));
    // Over the overlap of the foreground with the background.
    const int FrontX = document_.FrontX, FrontY = document_.FrontY;
    const QRect patch = QRect(QPoint(FrontX, FrontY), front.size()) & back.rect();
    const int w = patch.width();
    for (int y = patch.top(); y <= patch.bottom(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(floorBoard_.scanLine(y)) + patch.left();
        const auto* in = reinterpret_cast<const QRgb*>(front.constScanLine(y - FrontY)) +
                         (patch.left() - FrontX);
        for (int x = 0; x < w; ++x)
            out[x] |= in[x];
    }
    QPainter painter(&screen_);
    painter.drawImage(QPoint(0, 0), floorBoard_, shown);
    painter.end();
    return double(clock.nsecsElapsed()) / 1e9;
}

PictureBox* WindowJob::Board() const
{
    return main_.View() ? main_.View()->findChild<PictureBox*>(QStringLiteral("Board")) : nullptr;
}

double WindowJob::WaitForPaint(const QElapsedTimer& clock)
{
    PictureBox* board = Board();
    if (board == nullptr)
        return -1;
    // A view loaded by the click is watched from before its first paint; the click has
    // composed it.
    if (watched_ != board) {
        watched_ = board;
        watched_->installEventFilter(&spy_);
        QObject::connect(&board->surface(), &Surface::refreshed, &spy_,
                         [this] { spy_.composed = true; });
        spy_.composed = true;
    }
    while (!spy_.painted && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return spy_.painted ? double(clock.nsecsElapsed()) / 1e9 : -1;
}
