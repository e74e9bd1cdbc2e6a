// Timing for the benchmark programs that cannot use Google Benchmark (the mingw-w64
// build has none): each case runs a fixed number of times with untimed preparation and
// clean-up around it, and the figures are printed in Google Benchmark's manner.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace material::bench {

// A monotonic reading; the steady clock unless a test passes its own.
using Clock = std::function<std::chrono::nanoseconds()>;
std::chrono::nanoseconds steadyNow();

struct TimedCase {
    std::string name;
    int repetitions = 0;
    std::function<void()> prepare;  // before each repetition, untimed; may be empty
    std::function<void()> run;      // the timed part
    std::function<void()> finish;   // after each repetition, untimed; may be empty
    double goalMs = 0;              // the time the median should stay under; 0: none
};

struct CaseFigures {
    std::string name;
    std::vector<double> ms;  // one sample per repetition, in order
    double goalMs = 0;

    // Zero when there are no samples.
    double min() const;
    double median() const;
    double mean() const;
};

CaseFigures timeCase(const TimedCase& timed, const Clock& now = steadyNow);

// A table of min, median and mean per case, with the goal met or missed by the median.
std::string formatFigures(const std::vector<CaseFigures>& cases);

}  // namespace material::bench
