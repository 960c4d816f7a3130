#pragma once
// The main window and the composite view on real widgets in this process, driven with
// Qt Test's mouse and key events, each measured from the input to the view painted with
// the composite.
#include "BenchPictures.h"

#include "core/document/Document.h"
#include "windows/main/frmMain.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QPointer>

class PictureBox;

// Notes the first paint of the widget it watches after its surface was composed anew, so
// a paint of the marker alone before the composite is ready does not count.
class PaintSpy final : public QObject {
public:
    bool composed = false, painted = false;

    void Reset() { composed = painted = false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// A pair opened from PNG files (the key colour survives only a lossless file) in a main
// window on screen, the key magenta and the rate 50; unless `composeFirst` is false, composed
// twice so that the view is open and has its bitmaps. Each measure returns seconds, or a
// negative value when the view did not paint.
class WindowJob {
public:
    WindowJob(const QString& pictures, const PairSize& pair, bool composeFirst = true);

    bool Ready() const { return ready_; }
    // Events handled for a while, as between a person's actions: the pair just opened, the
    // pointer on its way to "合成".
    void Pause(int milliseconds);

    // From the press of "合成" to the view painted with the composite.
    double ClickToPainted();
    // The same when the user has closed the view: the click loads a new one, which then
    // gets its bitmaps.
    double ClickToNewViewPainted();
    // From the release of a drag of the marker to the view painted anew; the drops go back
    // and forth.
    double DropToPainted();
    // From an arrow key with Shift to the view painted with the foreground ten pixels on;
    // with `repeats` above 1, that many presses of a held key queued at once, which are
    // composed together. The nudges go back and forth.
    double NudgeToPainted(int repeats);
    // What a nudge cannot do without: one recomposition through the same engine call, then
    // the view's visible part painted.
    double RecompositionFloor();
    // Painting the view's visible part at the zoom that fits the whole composite.
    double FitRepaint();
    // The same screen pixels each taken from the nearest composite pixel, without smoothing.
    double NearestPaintFloor();
    // Ctrl and a key in the view: 0 fits the composite, 1 shows actual pixels. The window
    // follows and is painted before anything is timed.
    void Zoom(Qt::Key key);
    // One composition's memory floor, then the view's visible part painted from it.
    double Floor();

    frmMain& Main() { return main_; }
    Document& Doc() { return document_; }
    // The composite view's board, while the view is loaded.
    PictureBox* Board() const;

private:
    double WaitForPaint(const QElapsedTimer& clock);

    const PairSize& pair_;
    Document document_{SettingsRecord{}};
    frmMain main_{document_};
    PaintSpy spy_;
    QPointer<QWidget> watched_;
    bool ready_ = false;
    int step_ = 1;
    QImage floorBoard_, screen_;
};
