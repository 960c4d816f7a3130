// The main window and the composite view on real widgets, driven with Qt Test's mouse
// and key events: from the click on "合成" to the painted view, and from the release of a
// drag in the view to the painted view, each beside one composition's memory floor plus
// painting the view's visible part; from an arrow key (or a held key's queued repeats) to
// the painted view, beside one recomposition through the same engine call plus painting;
// the view painted smoothly at the zoom that fits the composite, beside nearest neighbour:
//   bench_window --pictures=<folder written by bench_pictures> [Google Benchmark flags]
#include "support/BenchPictures.h"
#include "support/RatioTable.h"
#include "support/WindowJob.h"

#include <QApplication>
#include <memory>

namespace {
QString g_pictures;

std::unique_ptr<WindowJob> g_job24, g_job54;

WindowJob* Job(const PairSize& pair)
{
    std::unique_ptr<WindowJob>& job = pair.back == kPair24.back ? g_job24 : g_job54;
    if (!job)
        job = std::make_unique<WindowJob>(g_pictures, pair);
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
