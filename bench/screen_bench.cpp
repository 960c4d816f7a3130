// The windows on a real X server, as a person sees them: from a click on "合成", the drop of
// the marker or an arrow key, sent through XTEST, to the composite's pixels on the screen,
// read back with XGetImage; each beside the same work on Qt's offscreen platform, done by a
// twin of this program (from the input to the view's paint):
//   QT_QPA_PLATFORM=xcb DISPLAY=... bench_screen --pictures=<folder> [Google Benchmark flags]
// The twin, started by the program itself, reads the case names "first", "later", "drop"
// and "nudge" on its standard input and answers each with seconds:
//   bench_screen --pictures=<folder> --offscreen-twin
#include "support/BenchPictures.h"
#include "support/RatioTable.h"
#include "support/ScreenJob.h"

#include <QApplication>
#include <QProcess>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

namespace {
QString g_pictures;
std::unique_ptr<ScreenJob> g_screen;
std::unique_ptr<QProcess> g_twin;

// The offscreen twin: one fresh main window for each "first", one kept for the others.
int RunTwin()
{
    std::unique_ptr<WindowJob> kept;
    for (std::string line; std::getline(std::cin, line);) {
        double seconds = -1;
        if (line == "first") {
            WindowJob fresh(g_pictures, kPair24, false);
            fresh.Pause(kPairToClick);
            seconds = fresh.ClickToPainted();
        } else {
            if (!kept)
                kept = std::make_unique<WindowJob>(g_pictures, kPair24);
            if (kept->Ready())
                seconds = line == "later" ? kept->ClickToPainted()
                          : line == "drop" ? kept->DropToPainted()
                                           : kept->NudgeToPainted(1);
        }
        std::cout << seconds << std::endl;
    }
    return 0;
}

double AskTwin(const char* what)
{
    g_twin->write(QByteArray(what) + '\n');
    while (!g_twin->canReadLine())
        if (!g_twin->waitForReadyRead(60000))
            return -1;
    return g_twin->readLine().trimmed().toDouble();
}

template <typename Measure>
void TimeEach(benchmark::State& state, Measure measure)
{
    for (auto _ : state) {
        const double seconds = measure();
        if (seconds < 0) {
            state.SkipWithError("the composite did not show");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

void Register()
{
    const struct {
        const char* name;
        const char* twinCase;
        double (ScreenJob::*measure)();
        const char* target;
    } cases[] = {{"First 合成 to the composite on screen, 24 MP pair", "first", &ScreenJob::FirstClick, "< 0.15 s"},
                 {"Later 合成 to the composite on screen, 24 MP pair", "later", &ScreenJob::LaterClick, ""},
                 {"Drop to the composite on screen, 24 MP pair", "drop", &ScreenJob::Drop, "< 0.1 s"},
                 {"Shift+arrow to the composite on screen, 24 MP pair", "nudge", &ScreenJob::Nudge, ""}};
    for (const auto& c : cases)
        RegisterCase({.name = c.name,
                      .run = [measure = c.measure](benchmark::State& state) {
                          TimeEach(state, [measure] { return (g_screen.get()->*measure)(); });
                      },
                      .floor = [what = c.twinCase](benchmark::State& state) {
                          TimeEach(state, [what] { return AskTwin(what); });
                      },
                      .floorWhat = "the same input to the view's paint, offscreen",
                      .iterations = 3,
                      .target = c.target,
                      .manualTime = true});
}
} // namespace

int main(int argc, char* argv[])
{
    bool twin = false;
    for (int i = 1; i < argc; ++i)
        twin = twin || std::strcmp(argv[i], "--offscreen-twin") == 0;
    if (twin)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    g_pictures = TakePicturesFolder(argc, argv, "bench_screen");
    if (g_pictures.isEmpty())
        return 2;
    if (twin)
        return RunTwin();
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        std::fprintf(stderr, "bench_screen needs an X server: QT_QPA_PLATFORM=xcb and DISPLAY\n");
        return 2;
    }
    g_screen = std::make_unique<ScreenJob>(g_pictures, kPair24);
    g_twin = std::make_unique<QProcess>();
    g_twin->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    g_twin->start(QCoreApplication::applicationFilePath(),
                  {"--pictures=" + g_pictures, QStringLiteral("--offscreen-twin")});
    if (!g_screen->Ready() || !g_twin->waitForStarted()) {
        std::fprintf(stderr, "bench_screen: no X connection or no offscreen twin\n");
        return 2;
    }
    Register();
    const int status = RunCases(argc, argv, "The windows on a real X server (Xvfb)");
    g_twin->closeWriteChannel();
    g_twin->waitForFinished();
    g_screen.reset();
    return status;
}
