#pragma once
// The windows of WindowJob on a real X server, driven through XTEST as a person's pointer and
// keys are, each measured from the input to the composite's pixels on the screen, read back
// with XGetImage from this process's own connection.
#include "WindowJob.h"

#include <QPoint>
#include <memory>

using Display = struct _XDisplay;

// Milliseconds from the pair opened to the first click on "合成", a person's move to the button.
inline constexpr int kPairToClick = 1000;

class ScreenJob {
public:
    ScreenJob(const QString& pictures, const PairSize& pair);
    ~ScreenJob();
    ScreenJob(const ScreenJob&) = delete;
    ScreenJob& operator=(const ScreenJob&) = delete;

    // False when there is no X server to reach.
    bool Ready() const { return display_ != nullptr; }

    // Each returns seconds, or a negative value when the composite did not show. The first
    // "合成" of a main window opened anew with the pair, kPairToClick after, its view loaded
    // by the click.
    double FirstClick();
    // "合成" once more, the foreground ten pixels aside from where the view shows it.
    double LaterClick();
    // The marker dragged and dropped, timed from the release.
    double Drop();
    // Shift and an arrow key in the view: the foreground ten pixels on.
    double Nudge();

private:
    // A main window with the pair whose view shows the composite.
    WindowJob* Composed();
    // From the press of "合成" to the composite on the screen.
    double ClickCompose();
    void MoveTo(QPoint global);
    void Button(bool down);
    void Key(unsigned long symbol, bool down);
    // Polls until sampled screen pixels inside the shown foreground equal the composite's.
    double WaitForComposite(const QElapsedTimer& clock);
    bool CompositeOnScreen();

    QString pictures_;
    const PairSize& pair_;
    Display* display_ = nullptr;
    std::unique_ptr<WindowJob> job_;
    int step_ = 10;
};
