// A whole game played hard: in each of the four levels the player looks round, hides left and
// right, throws every roll and every egg, some of them in the bird's-eye view and in wireframe;
// the last level is ended with the level key, and the game-over screen is kept up with every
// other key pressed. Nothing may go wrong under the sanitizers, and once the last strip exists
// the game's resident size stops growing (it keeps everything it makes, but makes nothing new).
#include <gtest/gtest.h>

#include <sys/types.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/e2e_harness.h"
#include "tests/support/e2e_play.h"

namespace {

constexpr int kLeftButton = 1;
constexpr int kItemsPerLevel = 10;
// a machine's allocator and GL driver settle in steps; a leak of even a few bytes a frame would
// reach this within the half minute watched
constexpr long kAllowedGrowthKb = 4096;
constexpr double kWatchAfterLastStrip = 30.0;

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
    E2eGame game;
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

    // the allocator and the driver take a moment over the first frames after the last strip
    long settled = 0, peakAfter = 0, peakOverall = 0;
    for (const ResidentSampler::Sample& s : rss.samples()) {
        peakOverall = std::max(peakOverall, s.kb);
        if (s.time < lastStripTime + 5.0)
            continue;
        if (!settled)
            settled = s.kb;
        peakAfter = std::max(peakAfter, s.kb);
    }
    std::printf("resident size, kB: at the first frame %ld, at the last strip %ld, 5 s later %ld, "
                "highest after that %ld, at the end %ld, highest overall %ld\n",
                atStart, atLastStrip, settled, peakAfter, atEnd, peakOverall);
    ASSERT_GT(settled, 0);
    EXPECT_LE(peakAfter - settled, kAllowedGrowthKb) << "the game keeps growing";
}

}  // namespace
