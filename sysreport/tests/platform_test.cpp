// The platform's own probes, on this machine.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <regex>
#include <thread>

#include "Fakes.h"
#include "HostLookup.h"
#include "ReportWriter.h"
#include "SystemFacts.h"
#include "TestEnvironment.h"

namespace sysreport {
namespace {

TEST(PlatformFacts, EnvironmentVariablesHaveNoLengthLimitAndIgnoreCase) {
    auto facts = makePlatformSystemFacts();
    const std::string longValue(5000, 'p');
    testing::setEnvironmentVariable("KT_SYSREPORT_LONG", longValue);
    const auto exact = facts->environmentVariable("KT_SYSREPORT_LONG");
    ASSERT_TRUE(exact.ok());
    EXPECT_EQ(exact.value(), longValue);
    EXPECT_EQ(facts->environmentVariable("kt_Sysreport_long").value(), longValue);
    EXPECT_EQ(facts->environmentVariable("KT_SYSREPORT_NEVER_SET").value(), "");
}

TEST(PlatformFacts, ProbesGiveWellFormedValues) {
    auto facts = makePlatformSystemFacts();
    EXPECT_TRUE(std::regex_match(facts->ethernetAddress(0), std::regex("[0-9A-F]{12}")));
    const auto temp = facts->tempDirectory();
    ASSERT_TRUE(temp.ok());
    ASSERT_FALSE(temp.value().empty());
    EXPECT_TRUE(temp.value().back() == '/' || temp.value().back() == '\\') << temp.value();
    const auto os = facts->osVersion();
    ASSERT_TRUE(os.ok());
    // Windows "10.0"; Linux the whole kernel release ("6.1.0-18-amd64").
    EXPECT_TRUE(std::regex_match(os.value().version, std::regex("[0-9]+\\.[0-9]+.*")));
    EXPECT_TRUE(std::regex_match(os.value().build, std::regex("[0-9]+")));
    EXPECT_GE(os.value().processorCount, 1);
    const auto memory = facts->memoryStatus();
    ASSERT_TRUE(memory.ok());
    EXPECT_GT(memory.value().totalPhysical, 0u);
    EXPECT_GE(memory.value().totalPageFile, memory.value().totalPhysical);
    const DiskSpace disk = facts->diskSpace(temp.value());
    EXPECT_GT(disk.totalBytes, 0u);
    EXPECT_LE(disk.freeBytes, disk.totalBytes);
    EXPECT_FALSE(disk.drive.empty());
}

TEST(PlatformClock, UptimeIsSixtyFourBitMilliseconds) {
    auto clock = makePlatformClock();
    const std::uint64_t first = clock->uptimeMilliseconds();
    EXPECT_GT(first, 0u);
    EXPECT_GE(clock->uptimeMilliseconds(), first);
    EXPECT_FALSE(clock->dateText().empty());
    EXPECT_FALSE(clock->timeText().empty());
}

TEST(PlatformSurvey, WritesACompleteReportWithoutMessages) {
    auto facts = makePlatformSystemFacts();
    auto clock = makePlatformClock();
    auto backend = makePlatformRegistry();
    auto ini = makeIniFileReader();
    auto host = makePlatformCadHost();
    RegistryReader registry(*backend, *ini);
    testing::RecordingPrompts prompts;
    ReportWriter writer({*facts, *clock, registry, *host, prompts}, facts->tempDirectory().value(),
                        ScreenFacts{1280, 1024, 24});
    const std::string report = writer.build();
    EXPECT_EQ(report.rfind("<html>\r\n<head>\r\n", 0), 0u);
    const std::string ending = "Etc.</pre>\r\n\r\n</body>\r\n";
    ASSERT_GT(report.size(), ending.size());
    EXPECT_EQ(report.substr(report.size() - ending.size()), ending);
    EXPECT_NE(report.find("<pre>USER NAME:               "), std::string::npos);
    EXPECT_NE(report.find("\r\nOPERATING SYSTEM:        "), std::string::npos);
    EXPECT_NE(report.find("\r\nNUMBER OF COLORS:         1.677722E+07\r\n"), std::string::npos);
    EXPECT_TRUE(prompts.messages.empty());
    if (std::getenv("SYSREPORT_SHOW_SURVEY") != nullptr) {
        std::printf("%s", report.c_str());
    }
}

TEST(ReportAddress, LoopbackAnswersArePassedOver) {
    const Ipv4Address loop{127, 0, 1, 1}, lan{192, 168, 0, 12}, other{10, 0, 0, 5};
    EXPECT_EQ(chooseReportAddress({lan, other}, {other}), "192.168.0.12");
    EXPECT_EQ(chooseReportAddress({loop, lan}, {other}), "192.168.0.12");
    EXPECT_EQ(chooseReportAddress({loop}, {other}), "10.0.0.5");
    EXPECT_EQ(chooseReportAddress({}, {loop, other}), "10.0.0.5");
    EXPECT_EQ(chooseReportAddress({loop}, {}), "");
}

// A resolver that hangs until released, counting its calls.
struct HangingResolver {
    std::mutex mutex;
    std::condition_variable released;
    bool open = false;
    std::atomic<int> calls{0};

    std::vector<Ipv4Address> resolve() {
        ++calls;
        std::unique_lock lock(mutex);
        released.wait(lock, [&] { return open; });
        return {Ipv4Address{192, 0, 2, 7}};
    }
    void release() {
        std::lock_guard lock(mutex);
        open = true;
        released.notify_all();
    }
};

TEST(BoundedHostLookup, AReportWaitsNoLongerThanItsOwnLimit) {
    auto resolver = std::make_shared<HangingResolver>();
    BoundedHostLookup lookup([resolver](const std::string&) { return resolver->resolve(); },
                             std::chrono::milliseconds(2000));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(lookup.answers("host", std::chrono::milliseconds(100)).empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    resolver->release();
}

TEST(BoundedHostLookup, AHangingResolverCostsAtMostTheBoundOnce) {
    auto resolver = std::make_shared<HangingResolver>();
    BoundedHostLookup lookup([resolver](const std::string&) { return resolver->resolve(); },
                             std::chrono::milliseconds(200));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(lookup.answers("host").empty());
    EXPECT_TRUE(lookup.answers("host").empty());  // the stuck lookup is reused, already late
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(190));
    EXPECT_LT(waited, std::chrono::milliseconds(1500));
    EXPECT_EQ(resolver->calls.load(), 1);

    resolver->release();
    std::vector<Ipv4Address> answers;
    for (int i = 0; i < 100 && answers.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        answers = lookup.answers("host");
    }
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(dottedAddress(answers[0]), "192.0.2.7");
}

}  // namespace
}  // namespace sysreport
