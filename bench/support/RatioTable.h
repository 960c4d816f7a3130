#pragma once
// Benchmark cases that are each measured beside a floor: the least work any program must
// do for the same result (copying the pixels, the bare library call), timed in the same
// run so that the ratio stays meaningful on a busy machine. Runs go through Google
// Benchmark; at the end a table gives each case's median, its floor's median and the
// ratio of the two.
#include <benchmark/benchmark.h>

#include <functional>
#include <string>

struct BenchCase {
    using Body = std::function<void(benchmark::State&)>;
    std::string name;      // the table's row, also the benchmark's name
    Body run;
    Body floor;            // empty for a case that is a floor itself (the memcpy speed)
    std::string floorWhat; // what the floor does, when the name does not say
    int iterations = 1;    // timed runs per repetition
    double items = 0;      // > 0: the median is also shown per item, in ns
    double bytes = 0;      // > 0: the median is also shown as a speed, in GB/s
    std::string target;    // the goal the case is held to, shown beside the ratio
    bool manualTime = false; // the bodies time themselves with SetIterationTime
};

void RegisterCase(BenchCase benchCase);

// Runs the registered cases (Google Benchmark's command-line flags apply: a filter, the
// repetitions, random interleaving) and prints the table under `title` on the standard
// output; Google Benchmark's own report goes to the standard error. Returns the exit code.
int RunCases(int argc, char** argv, const std::string& title);
