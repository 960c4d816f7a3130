#include "RatioTable.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <vector>

namespace {
const char* const kFloorSuffix = "/floor";

std::vector<BenchCase>& Cases()
{
    static std::vector<BenchCase> cases;
    return cases;
}

// Keeps the median of every benchmark, in seconds, and passes every report on to Google
// Benchmark's console reporter.
class MedianReporter final : public benchmark::ConsoleReporter {
public:
    explicit MedianReporter(bool cpuTime) : useCpuTime(cpuTime) {}

    const bool useCpuTime;
    std::map<std::string, double> medians;
    std::map<std::string, std::string> errors;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const std::string name = run.run_name.function_name;
            const double time = useCpuTime ? run.GetAdjustedCPUTime() : run.GetAdjustedRealTime();
            const double seconds = time / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.error_occurred)
                errors[name] = run.error_message;
            else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[name] = seconds;
            else if (run.run_type == Run::RT_Iteration && run.repetitions <= 1)
                medians[name] = seconds; // a single repetition is its own median
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

void Register(const std::string& name, const BenchCase::Body& body, const BenchCase& c)
{
    auto* b = benchmark::RegisterBenchmark(name.c_str(), [body](benchmark::State& state) {
        body(state);
    });
    b->Iterations(c.iterations)->Unit(benchmark::kMillisecond);
    if (c.manualTime)
        b->UseManualTime();
    else
        b->UseRealTime();
}

std::string Milliseconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, seconds < 0.1 ? "%.2f ms" : "%.0f ms", seconds * 1e3);
    return text;
}

std::string Note(const BenchCase& c, double seconds)
{
    char text[64] = "";
    if (c.items > 0)
        std::snprintf(text, sizeof text, "%.2f ns per pixel", seconds * 1e9 / c.items);
    else if (c.bytes > 0)
        std::snprintf(text, sizeof text, "%.1f GB/s", c.bytes / seconds / 1e9);
    if (c.floorWhat.empty())
        return text;
    return "floor: " + c.floorWhat + (text[0] != '\0' ? std::string("; ") + text : "");
}

void PrintTable(const std::string& title, const MedianReporter& reporter)
{
    std::printf("\n**%s**\n\n", title.c_str());
    std::printf("| %-58s | %10s | %10s | %6s | %-11s | %s\n", "case (median)", "time", "floor",
                "ratio", "target", "note");
    std::printf("|%s|%s|%s|%s|%s|---\n", std::string(60, '-').c_str(), std::string(12, '-').c_str(),
                std::string(12, '-').c_str(), std::string(8, '-').c_str(), std::string(13, '-').c_str());
    for (const BenchCase& c : Cases()) {
        const auto found = reporter.medians.find(c.name);
        if (found == reporter.medians.end()) {
            const auto error = reporter.errors.find(c.name);
            if (error != reporter.errors.end())
                std::printf("| %-58s | failed: %s\n", c.name.c_str(), error->second.c_str());
            continue;
        }
        const double time = found->second;
        std::string floorText = "", ratioText = "";
        if (c.floor) {
            const auto floor = reporter.medians.find(c.name + kFloorSuffix);
            if (floor != reporter.medians.end() && floor->second > 0) {
                floorText = Milliseconds(floor->second);
                char ratio[16];
                std::snprintf(ratio, sizeof ratio, "%.2fx", time / floor->second);
                ratioText = ratio;
            }
        }
        std::printf("| %-58s | %10s | %10s | %6s | %-11s | %s\n", c.name.c_str(),
                    Milliseconds(time).c_str(), floorText.c_str(), ratioText.c_str(),
                    c.target.c_str(), Note(c, time).c_str());
    }
    std::fflush(stdout);
}
} // namespace

void RegisterCase(BenchCase benchCase)
{
    Cases().push_back(std::move(benchCase));
}

int RunCases(int argc, char** argv, const std::string& title)
{
    for (const BenchCase& c : Cases()) {
        Register(c.name, c.run, c);
        if (c.floor)
            Register(c.name + kFloorSuffix, c.floor, c);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // On a machine shared with other work the processor time of the process is steadier
    // than the time on the clock; what a user waits for is the latter, the default.
    const char* clock = std::getenv("LAYERPIX_BENCH_CLOCK");
    const bool cpuTime = clock != nullptr && std::strcmp(clock, "cpu") == 0;
    MedianReporter reporter(cpuTime);
    reporter.SetOutputStream(&std::cerr);
    reporter.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintTable(title + (cpuTime ? " (processor time)" : ""), reporter);
    return 0;
}
