// Building and writing the whole report with every product family present.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "../tests/Fakes.h"
#include "FilePaths.h"
#include "ReportFile.h"
#include "ReportWriter.h"
#include "WineRegistry.h"

namespace {

using namespace sysreport;

void BM_WriteReport(benchmark::State& state) {
    const std::string fixture = std::string(SYSREPORT_TEST_DATA) + "/all-families";
    WineRegistryBackend backend(fixture);
    auto ini = makeIniFileReader();
    RegistryReader registry(backend, *ini);
    testing::FakeSystemFacts facts;
    testing::FakeClock clock;
    testing::FakeCadHost host;
    host.info = CadHostInfo{20091015, "17.0.0"};
    testing::RecordingPrompts prompts;
    const auto folder = std::filesystem::temp_directory_path() / "sysreport-bench";
    std::filesystem::create_directories(folder);
    ReportCommands commands(
        [&] {
            ReportWriter writer({facts, clock, registry, host, prompts}, "C:\\Program Files",
                                ScreenFacts{1920, 1080, 32});
            return writer.build();
        },
        prompts, ReportLocations{pathToUtf8(folder), "", ""});
    for (auto _ : state) {
        benchmark::DoNotOptimize(commands.writeToFile());
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteReport)->Unit(benchmark::kMillisecond);

// The real survey of this machine: every platform probe and the registry of the
// user's Wine prefix, report written to a temporary folder.
void realSurvey(benchmark::State& state, bool coldStart) {
    auto facts = makePlatformSystemFacts();
    auto clock = makePlatformClock();
    auto backend = makePlatformRegistry();
    auto ini = makeIniFileReader();
    auto host = makePlatformCadHost();
    RegistryReader registry(*backend, *ini);
    testing::RecordingPrompts prompts;
    const auto folder = std::filesystem::temp_directory_path() / "sysreport-bench-real";
    std::filesystem::create_directories(folder);
    ReportCommands commands(
        [&] {
            ReportWriter writer({*facts, *clock, registry, *host, prompts}, pathToUtf8(folder),
                                ScreenFacts{1920, 1080, 24});
            return writer.build();
        },
        prompts, ReportLocations{pathToUtf8(folder), "", ""});
    for (auto _ : state) {
        if (coldStart) {
            facts = makePlatformSystemFacts();  // as the window starts: a fresh host lookup
        }
        benchmark::DoNotOptimize(commands.writeToFile());
    }
    std::filesystem::remove_all(folder);
}

// Every report after the first.
void BM_RealSurvey(benchmark::State& state) {
    realSurvey(state, false);
}
BENCHMARK(BM_RealSurvey)->Unit(benchmark::kMillisecond);

// The first report, written the moment the program has started.
void BM_RealSurveyAtStartUp(benchmark::State& state) {
    realSurvey(state, true);
}
BENCHMARK(BM_RealSurveyAtStartUp)->Unit(benchmark::kMillisecond);

#ifdef SYSREPORT_PROGRAM
// `sysreport --save FILE` from the start of the process to its exit, without a
// display, as a script runs it.
void BM_SaveFromCommandLine(benchmark::State& state) {
    const auto file = std::filesystem::temp_directory_path() / "sysreport-bench-cli.htm";
    const std::string command = std::string("env -u DISPLAY -u WAYLAND_DISPLAY ") +
                                SYSREPORT_PROGRAM + " --save " + file.string() + " >/dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("sysreport --save failed");
            break;
        }
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_SaveFromCommandLine)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

}  // namespace
