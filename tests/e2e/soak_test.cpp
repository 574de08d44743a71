// A whole game played hard: in each of the four levels the player looks round, hides left and
// right, throws every roll and every egg, some of them in the bird's-eye view and in wireframe;
// the last level is ended with the level key, and the game-over screen is kept up with every
// other key pressed. Nothing may go wrong under the sanitizers, and once the last strip exists
// the game's resident size stops growing (it keeps everything it makes, but makes nothing new).
// It runs in the sanitizer build; elsewhere only with VX_SOAK=1 set, to keep `make test` short.
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

constexpr int kLeftButton = 1;
constexpr int kItemsPerLevel = 10;
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

void lookRound(E2eGame& game)
{
    game.movePointer(300, 300);
    game.mouseDown(kLeftButton);
    for (int x : {330, 360, 390, 330, 270, 210, 250, 300})
        game.movePointer(x, 300 - (x - 300) / 3);
    game.mouseUp(kLeftButton);
}

// a lean held past its limit, then released; the walk back from the right traces its amount on
// the console, so its end shows as the trace falling silent
void hideLeftAndRight(E2eGame& game)
{
    for (const char* key : {"a", "d"}) {
        game.keyDown(key);
        sleepFor(0.6);  // the lean reaches its limit in under 0.4 s of held key
        game.keyUp(key);
    }
    size_t seen = 0;
    double quietSince = secondsNow();
    waitUntil(
        [&] {
            size_t now = game.stdoutText().size();
            if (now != seen) {
                seen = now;
                quietSince = secondsNow();
            }
            return secondsNow() - quietSince > 1.0;
        },
        30.0, 0.1);
    game.movePointer(300, 330);  // just below the sight, at the house
}

void throwSome(E2eGame& game, int count)
{
    for (int i = 0; i < count; ++i) {
        throwOne(game);
        sleepFor(0.1);
    }
}

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
    ASSERT_TRUE(startThroughMessageBoxes(game, nullptr)) << game.stderrText();
    ResidentSampler rss(game.gamePid());
    const long atStart = rss.now();
    double lastStripTime = 0;
    long atLastStrip = 0;

    for (int level = 1; level <= 4; ++level) {
        ASSERT_TRUE(game.waitForScreenshot(playing, 120.0)) << "level " << level << " did not start";
        lookRound(game);
        hideLeftAndRight(game);
        throwSome(game, kItemsPerLevel / 2);
        game.tapKey("e");
        game.tapKey("m");
        throwSome(game, kItemsPerLevel / 2);
        if (level == 4) {
            lastStripTime = secondsNow();
            atLastStrip = rss.now();
        }
        game.tapKey("e");
        game.tapKey("m");
        game.tapKey("F1");
        throwSome(game, level < 4 ? kItemsPerLevel : kItemsPerLevel - 1);
        game.tapKey("F1");
        if (level < 4) {
            ASSERT_TRUE(game.waitForScreenshot(centreMessage, 120.0))
                << "level " << level << " did not end once everything was thrown";
        }
    }
    game.tapKey("c");  // the level key ends the last level: game over
    ASSERT_TRUE(game.waitForScreenshot(centreMessage, 120.0)) << "no game-over screen";
    ASSERT_TRUE(game.running()) << crashReport(game.stderrText());

    // the game-over screen with every other key pressed, watched for a while
    for (const char* key : {"c", "e", "m", "F1", "l", "f", "Home", "h", "a", "d", "e", "m"})
        game.tapKey(key);
    lookRound(game);
    throwOne(game);
    const double until = lastStripTime + kWatchAfterLastStrip;
    while (secondsNow() < until && game.running())
        sleepFor(0.5);
    ASSERT_TRUE(game.running()) << crashReport(game.stderrText());
    const long atEnd = rss.now();

    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit(120.0));
    EXPECT_EQ(game.exitStatus(), 0) << game.stderrText();
    EXPECT_EQ(crashReport(game.stderrText()), "");

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
