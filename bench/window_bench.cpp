// The main window and the composite view on real widgets, driven with Qt Test's mouse
// and key events: from the click on "合成" to the painted view, and from the release of a
// drag in the view to the painted view, each beside one composition's memory floor plus
// painting the view's visible part; from an arrow key (or a held key's queued repeats) to
// the painted view, beside one recomposition through the same engine call plus painting;
// the view painted smoothly at the zoom that fits the composite, beside nearest neighbour:
//   bench_window --pictures=<folder written by bench_pictures> [Google Benchmark flags]
#include "support/BenchPictures.h"
#include "support/RatioTable.h"

#include "core/document/Document.h"
#include "windows/main/frmMain.h"
#include "windows/view/frmView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <cstring>
#include <memory>

namespace {
QString g_pictures;

// Notes the first paint of the widget it watches after its surface was composed anew, so
// a paint of the marker alone before the composite is ready does not count.
class PaintSpy final : public QObject {
public:
    bool composed = false, painted = false;

    void Reset() { composed = painted = false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && composed)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// A pair opened from PNG files (the key colour survives only a lossless file) in a main
// window on screen, composed once so that the view is open.
class WindowJob {
public:
    explicit WindowJob(const PairSize& pair) : pair_(pair)
    {
        main_.show();
        if (!QTest::qWaitForWindowExposed(&main_))
            return;
        document_.Settings.TransColor = kKeyColour;
        document_.Settings.TransRate = 50;
        main_.OpenSourcePicture(PicturePath(g_pictures, pair, PictureKind::Front, "png"), 0);
        main_.OpenSourcePicture(PicturePath(g_pictures, pair, PictureKind::Back, "png"), 1);
        if (document_.PicImg[1].Width() != pair.back.width())
            return;
        ready_ = ClickToPainted() > 0 && ClickToPainted() > 0;
    }

    bool Ready() const { return ready_; }

    // Seconds from the press of "合成" to the view painted with the composite.
    double ClickToPainted()
    {
        document_.FrontX = pair_.back.width() / 6;
        document_.FrontY = pair_.back.height() / 5;
        QElapsedTimer clock;
        clock.start();
        spy_.Reset();
        QTest::mouseClick(main_.findChild<QWidget*>(QStringLiteral("BTN(0)")), Qt::LeftButton);
        return WaitForPaint(clock);
    }

    // The same when the user has closed the view: the click loads a new one, which then
    // gets its bitmaps.
    double ClickToNewViewPainted()
    {
        main_.View()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return ClickToPainted();
    }

    // Seconds from the release of a drag of the marker to the view painted anew; the
    // drops go back and forth.
    double DropToPainted()
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

    // Seconds from an arrow key with Shift to the view painted with the foreground ten
    // pixels on; with `repeats` above 1, that many presses of a held key queued at once,
    // which are composed together. The nudges go back and forth.
    double NudgeToPainted(int repeats)
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

    // What a nudge cannot do without: one recomposition through the same engine call, then
    // the view's visible part painted.
    double RecompositionFloor()
    {
        QElapsedTimer clock;
        clock.start();
        main_.View()->Compose();
        Board()->repaint();
        return double(clock.nsecsElapsed()) / 1e9;
    }

    // Seconds to paint the view's visible part at the zoom that fits the whole composite.
    double FitRepaint()
    {
        Zoom(Qt::Key_0);
        QElapsedTimer clock;
        clock.start();
        Board()->repaint();
        return double(clock.nsecsElapsed()) / 1e9;
    }

    // The same screen pixels each taken from the nearest composite pixel, without smoothing.
    double NearestPaintFloor()
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

    // Ctrl and a key in the view: 0 fits the composite, 1 shows actual pixels. The window
    // follows and is painted before anything is timed.
    void Zoom(Qt::Key key)
    {
        QTest::keyClick(Board(), key, Qt::ControlModifier);
        QCoreApplication::processEvents();
    }

    // One composition's memory floor, then the view's visible part painted from it.
    double Floor()
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

private:
    // The composite view's board, while the view is loaded.
    PictureBox* Board() const
    {
        return main_.View() ? main_.View()->findChild<PictureBox*>(QStringLiteral("Board")) : nullptr;
    }

    double WaitForPaint(const QElapsedTimer& clock)
    {
        PictureBox* board = Board();
        if (board == nullptr)
            return -1;
        // A view loaded by the click is watched from before its first paint; the click
        // has composed it.
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

    const PairSize& pair_;
    Document document_{SettingsRecord{}};
    frmMain main_{document_};
    PaintSpy spy_;
    QPointer<QWidget> watched_;
    bool ready_ = false;
    int step_ = 1;
    QImage floorBoard_, screen_;
};

std::unique_ptr<WindowJob> g_job24, g_job54;

WindowJob* Job(const PairSize& pair)
{
    std::unique_ptr<WindowJob>& job = pair.back == kPair24.back ? g_job24 : g_job54;
    if (!job)
        job = std::make_unique<WindowJob>(pair);
    return job->Ready() ? job.get() : nullptr;
}

// Times each iteration with `measure`, which returns seconds or a negative value when the
// window did not paint.
template <typename Measure>
void TimeEach(benchmark::State& state, const PairSize& pair, Measure measure)
{
    WindowJob* job = Job(pair);
    if (job == nullptr) {
        state.SkipWithError("the pair did not open and compose");
        return;
    }
    for (auto _ : state) {
        const double seconds = measure(*job);
        if (seconds < 0) {
            state.SkipWithError("the view did not paint");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

void Register(const PairSize& pair)
{
    const auto floor = [&pair](benchmark::State& state) {
        TimeEach(state, pair, [](WindowJob& job) { return job.Floor(); });
    };
    RegisterCase({.name = std::string("Compose click to painted view, ") + pair.label + " pair",
                  .run = [&pair](benchmark::State& state) {
                      TimeEach(state, pair, [](WindowJob& job) { return job.ClickToPainted(); });
                  },
                  .floor = floor,
                  .floorWhat = "composition floor + painting the visible part",
                  .iterations = 3,
                  .target = pair.back == kPair24.back ? "< 0.15 s" : "",
                  .manualTime = true});
    RegisterCase({.name = std::string("Compose click to a new painted view, ") + pair.label + " pair",
                  .run = [&pair](benchmark::State& state) {
                      TimeEach(state, pair, [](WindowJob& job) { return job.ClickToNewViewPainted(); });
                  },
                  .floor = floor,
                  .floorWhat = "composition floor + painting the visible part",
                  .iterations = 3});
    RegisterCase({.name = std::string("Drop in the view to painted view, ") + pair.label + " pair",
                  .run = [&pair](benchmark::State& state) {
                      TimeEach(state, pair, [](WindowJob& job) { return job.DropToPainted(); });
                  },
                  .floor = floor,
                  .floorWhat = "composition floor + painting the visible part",
                  .iterations = 3,
                  .target = pair.back == kPair24.back ? "< 0.1 s" : "",
                  .manualTime = true});
}

// At actual pixels and, for the last, at the zoom that fits the composite.
void RegisterNudges(const PairSize& pair)
{
    const auto nudges = [&pair](int repeats, Qt::Key zoom) {
        return [&pair, repeats, zoom](benchmark::State& state) {
            TimeEach(state, pair, [repeats, zoom](WindowJob& job) {
                job.Zoom(zoom);
                return job.NudgeToPainted(repeats);
            });
        };
    };
    const auto floor = [&pair](Qt::Key zoom) {
        return [&pair, zoom](benchmark::State& state) {
            TimeEach(state, pair, [zoom](WindowJob& job) {
                job.Zoom(zoom);
                return job.RecompositionFloor();
            });
        };
    };
    const struct {
        const char* name;
        int repeats;
        Qt::Key zoom;
        const char* target;
    } cases[] = {{"Arrow key to painted view, ", 1, Qt::Key_1, "< 1.3x"},
                 {"10 queued repeats to painted view, ", 10, Qt::Key_1, "< 1.3x"},
                 {"Arrow key to painted view, fit zoom, ", 1, Qt::Key_0, ""}};
    for (const auto& c : cases)
        RegisterCase({.name = std::string(c.name) + pair.label + " pair",
                      .run = nudges(c.repeats, c.zoom),
                      .floor = floor(c.zoom),
                      .floorWhat = "one recomposition + painting the visible part",
                      .iterations = 5,
                      .target = c.target,
                      .manualTime = true});
    RegisterCase({.name = std::string("View painted at the fit zoom, ") + pair.label + " pair",
                  .run = [&pair](benchmark::State& state) {
                      TimeEach(state, pair, [](WindowJob& job) { return job.FitRepaint(); });
                  },
                  .floor = [&pair](benchmark::State& state) {
                      TimeEach(state, pair, [](WindowJob& job) { return job.NearestPaintFloor(); });
                  },
                  .floorWhat = "the same pixels scaled by nearest neighbour",
                  .iterations = 5,
                  .manualTime = true});
}
} // namespace

int main(int argc, char* argv[])
{
    DrawOffScreenUnlessAsked();
    QApplication app(argc, argv);
    g_pictures = TakePicturesFolder(argc, argv, "bench_window");
    if (g_pictures.isEmpty())
        return 2;
    Register(kPair24);
    RegisterNudges(kPair24);
    Register(kPair54);
    const int status = RunCases(argc, argv, "The windows");
    g_job24.reset();
    g_job54.reset();
    return status;
}
