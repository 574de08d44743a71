// SPDX-License-Identifier: MIT
// A whole game played hard, replayed from tests/data/soak.replay at real time: in each of the
// four levels the player looks round, hides left and right, throws every roll and every egg,
// some of them in the bird's-eye view and in wireframe; the last level is ended with the level
// key, and the game-over screen is kept up with every other key pressed. Nothing may go wrong
// under the sanitizers, once the last strip exists the game's resident size stops growing (it
// keeps everything it makes, but makes nothing new), and the game ends on the same summary as
// the replay with no window. It runs in the sanitizer build; elsewhere only with VX_SOAK=1 set,
// to keep `make test` short.
#include <gtest/gtest.h>

#include <sys/types.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/e2e_harness.h"
#include "tests/support/e2e_play.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define VX_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VX_SANITIZED 1
#endif
#endif

constexpr double kWatchAfterLastStrip = 30.0;
constexpr double kSettleSeconds = 5.0;
#ifdef VX_SANITIZED
// the sanitizer's allocator keeps freed blocks aside for a while and hands out shadow pages in
// large steps; its quarantine is kept small so the resident size shows what the game holds
constexpr long kAllowedGrowthKb = 32768;
const char* const kAllocatorOptions = ":quarantine_size_mb=16";
#else
constexpr long kAllowedGrowthKb = 4096;
const char* const kAllocatorOptions = "";
#endif

double secondsNow()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

long residentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

// samples the game's resident size four times a second while it runs
class ResidentSampler {
public:
    explicit ResidentSampler(pid_t pid) : pid_(pid), thread_([this] { run(); }) {}
    ~ResidentSampler()
    {
        stop_ = true;
        thread_.join();
    }
    struct Sample {
        double time;
        long kb;
    };
    std::vector<Sample> samples()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return samples_;
    }
    long now() const { return residentKb(pid_); }

private:
    void run()
    {
        while (!stop_) {
            long kb = residentKb(pid_);
            if (kb > 0) {
                std::lock_guard<std::mutex> lock(mutex_);
                samples_.push_back({secondsNow(), kb});
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
    }
    pid_t pid_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Sample> samples_;
    std::thread thread_;
};

// the step of soak.replay that throws the last roll
constexpr double kLastStripStep = 3358;

TEST(Soak, AWholeGamePlayedHardKeepsItsMemoryOnceTheLastStripExists)
{
#ifndef VX_SANITIZED
    // a minute and a half of play: the sanitizer build's run is the one that counts
    if (!std::getenv("VX_SOAK"))
        GTEST_SKIP() << "the soak runs in the sanitizer build, or with VX_SOAK=1";
#endif
    E2eGame game;
    const char* asan = std::getenv("ASAN_OPTIONS");
    game.setGameEnv("ASAN_OPTIONS", std::string(asan ? asan : "") + ":detect_leaks=0" +
                                        kAllocatorOptions);
    ASSERT_TRUE(game.start({"--replay", testDataPath("soak.replay")}));
    ASSERT_TRUE(game.waitForWindow());
    ASSERT_TRUE(game.waitForScreenshot(playing, 120.0)) << game.stderrText();
    ResidentSampler rss(game.gamePid());
    const long atStart = rss.now();
    // the game's own clock says when the last strip exists, however loaded the machine
    const int64_t now = game.stepCount();
    ASSERT_GE(now, 0) << "the game's step count cannot be read";
    ASSERT_TRUE(game.waitForSteps(int64_t(kLastStripStep) - now, 1200.0));
    const double lastStripTime = secondsNow();
    const long atLastStrip = rss.now();

    // the replay ends with q, more than half a minute of play after the last strip
    ASSERT_TRUE(game.waitForExit(kWatchAfterLastStrip + 1200.0))
        << crashReport(game.stderrText());
    const long atEnd = rss.samples().empty() ? 0 : rss.samples().back().kb;
    EXPECT_EQ(game.exitStatus(), 0) << game.stderrText();
    EXPECT_EQ(crashReport(game.stderrText()), "");
    const std::string summary = summaryLine(game.stdoutText());
    EXPECT_NE(summary.find(" level=5 "), std::string::npos) << game.stdoutText();
    EXPECT_EQ(summary, headlessSummary(game, testDataPath("soak.replay")));

    // a leak grows steadily: the least the game held near the end of the watch exceeds the most
    // it held soon after the last strip; the allocator's and the driver's swings come and go
    const std::vector<ResidentSampler::Sample> samples = rss.samples();
    const double watchEnd = samples.empty() ? 0 : samples.back().time;
    long early = 0, late = 0, peak = 0;
    for (const ResidentSampler::Sample& s : samples) {
        peak = std::max(peak, s.kb);
        if (s.time >= lastStripTime + kSettleSeconds && s.time < lastStripTime + 2 * kSettleSeconds)
            early = std::max(early, s.kb);
        if (s.time >= watchEnd - kSettleSeconds)
            late = late ? std::min(late, s.kb) : s.kb;
    }
    std::printf("resident size, kB: first frame %ld, last strip %ld, most in the 5 s after %ld s "
                "%ld, least in the last 5 s (%.0f s after the last strip) %ld, at the end %ld, "
                "highest %ld; %zu samples\n",
                atStart, atLastStrip, long(kSettleSeconds), early, watchEnd - lastStripTime, late,
                atEnd, peak, samples.size());
    ASSERT_GT(early, 0);
    ASSERT_GT(late, 0);
    EXPECT_LE(late - early, kAllowedGrowthKb) << "the game keeps growing";
}

}  // namespace
