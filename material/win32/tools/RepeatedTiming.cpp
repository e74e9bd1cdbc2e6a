#include "RepeatedTiming.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace material::bench {
namespace {

constexpr int kNameWidth = 44;

std::string row(const std::string& name, double ms, std::size_t repetitions,
                const std::string& goal) {
    char line[160];
    std::snprintf(line, sizeof line, "%-*s %10.3f ms %12zu   %s\n", kNameWidth, name.c_str(), ms,
                  repetitions, goal.c_str());
    return line;
}

std::string goalText(const CaseFigures& figures) {
    if (figures.goalMs <= 0 || figures.ms.empty()) {
        return "";
    }
    char text[64];
    std::snprintf(text, sizeof text, "under %g ms: %s", figures.goalMs,
                  figures.median() < figures.goalMs ? "met" : "MISSED");
    return text;
}

}  // namespace

std::chrono::nanoseconds steadyNow() {
    return std::chrono::steady_clock::now().time_since_epoch();
}

double CaseFigures::min() const {
    return ms.empty() ? 0 : *std::min_element(ms.begin(), ms.end());
}

double CaseFigures::median() const {
    if (ms.empty()) {
        return 0;
    }
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t middle = sorted.size() / 2;
    return sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

double CaseFigures::mean() const {
    return ms.empty() ? 0 : std::accumulate(ms.begin(), ms.end(), 0.0) / ms.size();
}

CaseFigures timeCase(const TimedCase& timed, const Clock& now) {
    CaseFigures figures{timed.name, {}, timed.goalMs};
    for (int i = 0; i < timed.repetitions; ++i) {
        if (timed.prepare) {
            timed.prepare();
        }
        const std::chrono::nanoseconds start = now();
        timed.run();
        const std::chrono::nanoseconds took = now() - start;
        figures.ms.push_back(std::chrono::duration<double, std::milli>(took).count());
        if (timed.finish) {
            timed.finish();
        }
    }
    return figures;
}

std::string formatFigures(const std::vector<CaseFigures>& cases) {
    char heading[160];
    std::snprintf(heading, sizeof heading, "%-*s %13s %12s   %s\n", kNameWidth, "Benchmark", "Time",
                  "Repetitions", "Goal");
    std::string text = heading;
    text += std::string(text.size() - 1, '-') + "\n";
    for (const CaseFigures& figures : cases) {
        const std::size_t count = figures.ms.size();
        if (count == 0) {
            text += figures.name + ": no repetitions\n";
            continue;
        }
        text += row(figures.name + "_min", figures.min(), count, "");
        text += row(figures.name + "_median", figures.median(), count, goalText(figures));
        text += row(figures.name + "_mean", figures.mean(), count, "");
    }
    return text;
}

}  // namespace material::bench
