// A whole game played as a player would: every roll and egg of level 1 thrown until the level
// ends by itself, a throw of each kind in the later levels finished with the level key, the
// game-over screen, and the quit key.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/e2e_harness.h"

namespace {

constexpr int kRightButton = 3;

struct Area {
    int x0, y0, x1, y1;  // window pixels from the top left, inclusive
};

// the overlay's texts are pure cyan over a night scene that has none
long cyanPixels(const Screenshot& shot, const Area& a)
{
    long n = 0;
    for (int y = a.y0; y <= a.y1 && y < shot.height; ++y)
        for (int x = a.x0; x <= a.x1 && x < shot.width; ++x) {
            const uint8_t* p = shot.at(x, y);
            n += p[0] < 60 && p[1] > 200 && p[2] > 200;
        }
    return n;
}

// text places in a 600 x 600 window: the raster positions of the overlay, baseline up
const Area kTimeLeftText{15, 2, 130, 30};
const Area kCentreLineText{160, 215, 440, 246};
const Area kScoreText{220, 275, 380, 306};

bool playing(const Screenshot& s) { return cyanPixels(s, kTimeLeftText) > 40; }
bool centreMessage(const Screenshot& s)
{
    return cyanPixels(s, kCentreLineText) > 80 && cyanPixels(s, kTimeLeftText) == 0;
}

void throwOne(E2eGame& game)
{
    game.mouseDown(kRightButton);
    // hold for a few idle steps so the power bar has swung up a little
    waitUntil([] { return false; }, 0.25);
    game.mouseUp(kRightButton);
}

TEST(FullGame, FromTheFirstThrowToGameOverAndQuit)
{
    E2eGame game;
    ASSERT_TRUE(game.start());
    ASSERT_TRUE(game.waitForWindow());
    game.movePointer(300, 330);  // aim just below the sight at the house
    ASSERT_TRUE(game.waitForScreenshot(playing));

    // level 1: all ten rolls, then all ten eggs; the level ends at the next whole second
    for (int i = 0; i < 10; ++i)
        throwOne(game);
    game.tapKey("F1");
    for (int i = 0; i < 10; ++i)
        throwOne(game);
    game.tapKey("F1");
    Screenshot shot;
    ASSERT_TRUE(game.waitForScreenshot(centreMessage, 60.0, &shot)) << "level 1 did not end";
    shot.save("full_game_level1_complete");
    EXPECT_GT(cyanPixels(shot, kScoreText), 40) << "the score is shown with the level's end";

    // levels 2 to 4: the turn, a throw of each kind, then the level key
    for (int level = 2; level <= 4; ++level) {
        ASSERT_TRUE(game.waitForScreenshot(playing, 60.0)) << "level " << level << " did not start";
        throwOne(game);
        game.tapKey("F1");
        throwOne(game);
        game.tapKey("F1");
        game.tapKey("c");
        if (level < 4) {
            ASSERT_TRUE(game.waitForScreenshot(centreMessage, 60.0)) << "level " << level;
        }
    }

    // after level 4: "GAME OVER!!!" and the score in the centre, no bars
    ASSERT_TRUE(game.waitForScreenshot(centreMessage, 60.0, &shot));
    waitUntil([] { return false; }, 1.0);
    shot = game.screenshot();
    shot.save("full_game_over");
    EXPECT_GT(cyanPixels(shot, kCentreLineText), 80);
    EXPECT_GT(cyanPixels(shot, kScoreText), 40);
    long barPixels = 0;  // the red power bar and blue time bar stand at the top when shown
    for (int y = 35; y < 100; ++y)
        for (int x = 40; x < 560; ++x) {
            const uint8_t* p = shot.at(x, y);
            // pure red, or the time bar's exact half blue
            barPixels += (p[0] > 200 && p[1] < 40 && p[2] < 40) || (p[0] == 0 && p[1] == 0 && p[2] >= 126 && p[2] <= 128);
        }
    EXPECT_EQ(barPixels, 0);

    ASSERT_TRUE(game.running());
    game.tapKey("q");
    ASSERT_TRUE(game.waitForExit());
    EXPECT_EQ(game.exitStatus(), 0);
}

}  // namespace
