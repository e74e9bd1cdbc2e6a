// The benchmark's timing and its table, with a clock the test moves by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RepeatedTiming.h"

namespace material::bench {
namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;

// A clock that stands still unless a step moves it.
struct HandClock {
    nanoseconds now{0};
    Clock reading() {
        return [this] { return now; };
    }
};

TEST(RepeatedTimingTest, OnlyTheRunIsTimedAndEachRepetitionIsOneSample) {
    HandClock clock;
    std::vector<std::string> steps;
    int round = 0;
    TimedCase timed{"Case", 3, {}, {}, {}, 0};
    timed.prepare = [&] {
        steps.push_back("prepare");
        clock.now += milliseconds(100);
    };
    timed.run = [&] {
        steps.push_back("run");
        clock.now += milliseconds(++round);
    };
    timed.finish = [&] {
        steps.push_back("finish");
        clock.now += milliseconds(50);
    };

    const CaseFigures figures = timeCase(timed, clock.reading());

    EXPECT_EQ(figures.ms, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(steps, (std::vector<std::string>{"prepare", "run", "finish", "prepare", "run",
                                               "finish", "prepare", "run", "finish"}));
}

TEST(RepeatedTimingTest, ATimedCaseWithoutPreparationOrCleanUpRuns) {
    HandClock clock;
    TimedCase timed{"Case", 2, {}, [&] { clock.now += nanoseconds(1500); }, {}, 0};
    EXPECT_EQ(timeCase(timed, clock.reading()).ms, (std::vector<double>{0.0015, 0.0015}));
}

TEST(RepeatedTimingTest, MinMedianAndMeanOfTheSamples) {
    struct Row {
        std::vector<double> ms;
        double min, median, mean;
    };
    const std::vector<Row> rows = {
        {{}, 0, 0, 0},
        {{7}, 7, 7, 7},
        {{9, 1, 5}, 1, 5, 5},
        {{4, 1, 3, 100}, 1, 3.5, 27},  // even count: between the middle two
        {{2, 2, 2, 2}, 2, 2, 2},
    };
    for (const Row& row : rows) {
        const CaseFigures figures{"Case", row.ms, 0};
        SCOPED_TRACE(::testing::PrintToString(row.ms));
        EXPECT_DOUBLE_EQ(figures.min(), row.min);
        EXPECT_DOUBLE_EQ(figures.median(), row.median);
        EXPECT_DOUBLE_EQ(figures.mean(), row.mean);
    }
    // The samples keep their order: the median works on a copy.
    const CaseFigures unsorted{"Case", {3, 1, 2}, 0};
    unsorted.median();
    EXPECT_EQ(unsorted.ms, (std::vector<double>{3, 1, 2}));
}

// The table's line that starts with `name`, or empty.
std::string lineOf(const std::string& table, const std::string& name) {
    std::size_t start = 0;
    while (start < table.size()) {
        const std::size_t end = table.find('\n', start);
        const std::string line = table.substr(start, end - start);
        if (line.rfind(name + " ", 0) == 0 || line.rfind(name + ":", 0) == 0) {
            return line;
        }
        start = end == std::string::npos ? table.size() : end + 1;
    }
    return "";
}

TEST(RepeatedTimingTest, TheTableGivesEachFigureAndJudgesTheGoalByTheMedian) {
    const std::string table = formatFigures({
        {"Open", {120, 180, 140}, 150},   // median 140: met, though one sample is over
        {"Click", {15, 17, 18, 30}, 16},  // median 17.5: missed, though the min is under
        {"Plain", {1.25}, 0},
        {"Empty", {}, 16},
    });

    EXPECT_NE(lineOf(table, "Open_min").find("120.000 ms"), std::string::npos) << table;
    EXPECT_NE(lineOf(table, "Open_median").find("140.000 ms"), std::string::npos) << table;
    EXPECT_NE(lineOf(table, "Open_median").find("under 150 ms: met"), std::string::npos);
    EXPECT_NE(lineOf(table, "Open_mean").find("146.667 ms"), std::string::npos) << table;
    EXPECT_NE(lineOf(table, "Click_median").find("17.500 ms"), std::string::npos) << table;
    EXPECT_NE(lineOf(table, "Click_median").find("under 16 ms: MISSED"), std::string::npos);
    EXPECT_EQ(lineOf(table, "Click_min").find("under"), std::string::npos);
    EXPECT_NE(lineOf(table, "Plain_median").find("1.250 ms"), std::string::npos) << table;
    EXPECT_EQ(lineOf(table, "Plain_median").find("under"), std::string::npos);
    // A case that never ran says so instead of showing made-up zeros or a met goal.
    EXPECT_EQ(lineOf(table, "Empty"), "Empty: no repetitions");
    EXPECT_EQ(table.find("Empty_"), std::string::npos);
}

TEST(RepeatedTimingTest, TheTableIsInColumns) {
    const std::string table = formatFigures({{"A", {1}, 0}, {"AVeryLongerCaseName", {1000}, 0}});
    const std::size_t column = lineOf(table, "A_min").find(" ms");
    EXPECT_NE(column, std::string::npos);
    EXPECT_EQ(lineOf(table, "AVeryLongerCaseName_min").find(" ms"), column) << table;
    EXPECT_EQ(lineOf(table, "Benchmark").find("Time") + 4, column + 3) << table;
}

}  // namespace
}  // namespace material::bench
