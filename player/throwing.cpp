// player: the right button, the power bar, launching rolls and eggs and their flight.
#include "player/throwing.h"

#include <cmath>

#include "game/game_state.h"
#include "game/rules.h"
#include "platform/redisplay.h"
#include "platform/sound.h"
#include "player/camera.h"
#include "scene/world.h"
#include "streamer/paper_streamer.h"

namespace {

const char* const kThrowSound = "grunt.wav";

constexpr double kPowerStep = 0.05;
constexpr double kPowerTop = 0.698;     // the bar turns down once it reaches about 0.70
constexpr double kPowerBottom = 0.002;  // and up again near 0
constexpr float kRollSpeedPerPower = 30.0f;
constexpr float kEggSpeedPerPower = 60.0f;
constexpr double kGravityPerCall = 0.3;  // per flight step, whatever its duration
constexpr float kRollHalfWidth = 0.15f;  // the streamer's ends sit this far either side

// the house's walls as the roll's bounce sees them, from each level's side
constexpr float kBackWallZ = -10.5f;
constexpr float kFrontWallZ = 5.0f;
constexpr float kSideWallX = 7.5f;

int32_t hitTestAt(Vec3 point, bool probeOnly)
{
    // without a World there is nothing to strike
    return gWorld ? gWorld->hitTest(point, gLevel, probeOnly) : 0;
}

bool throwBlocked()
{
    if (gGameOver || gTurning)
        return true;
    // once the player has stepped 1.0 or more aside the button throws nothing
    return std::trunc(gHideLeftAmount) != 0.0f || std::trunc(gHideRightAmount) != 0.0f;
}

}  // namespace

void onThrowButton(int pressed)
{
    if (throwBlocked())
        return;
    if (pressed) {
        int32_t left = gEggSelected ? gEggsLeft : gRollsLeft;
        if (left > 0) {
            gCharging = 1;
            gThrowPower = 0.0f;
        }
    } else if (!gEggSelected && gRollsLeft > 0) {
        // the selection at release time decides, whatever was charged
        gRollsLeft -= 1;
        gCharging = 0;
        throwRoll(gThrowPower, gViewDir);
    } else if (gEggSelected && gEggsLeft > 0) {
        gEggsLeft -= 1;
        gCharging = 0;
        throwEgg(gThrowPower, gViewDir);
    }
    requestRedisplay();
}

void stepPowerBar()
{
    if (!gCharging)
        return;
    // the turn is decided on the sum before it is rounded to the stored float
    if (gPowerFalling) {
        double power = double(gThrowPower) - kPowerStep;
        gThrowPower = float(power);
        if (power <= kPowerBottom)
            gPowerFalling = 0;
    } else {
        double power = double(gThrowPower) + kPowerStep;
        gThrowPower = float(power);
        if (power >= kPowerTop)
            gPowerFalling = 1;
    }
}

Vec3 launchPoint()
{
    // the eye lift alone gives the height: the ground and a crouch do not raise or lower a throw
    double c = std::cos(double(gStationAngle)) * kStationRadius;
    double s = std::sin(double(gStationAngle)) * kStationRadius;
    return Vec3{float(c + gHideShift.x + gEyeLift.x), gEyeLift.y,
                float(s + gHideShift.z + gEyeLift.z)};
}

void throwRoll(float power, Vec3 direction)
{
    platformPlaySound(kThrowSound);
    Vec3 start = launchPoint();
    float speed = kRollSpeedPerPower * power;

    RollRecord roll{};
    roll.position = roll.previousPosition = start;
    roll.direction = direction;
    roll.speed = Vec3{speed, speed, speed};
    roll.active = 1;
    roll.side = gSideVector;
    roll.endA = vecAdd(start, vecScale(gSideVector, kRollHalfWidth));
    roll.endB = vecSub(start, vecScale(gSideVector, kRollHalfWidth));

    // the streamer finds its roll by index, which survives the container growing
    PaperStreamer* streamer = new PaperStreamer(roll.endA, roll.endB);
    streamer->landed = 0;
    streamer->roll = int32_t(gRollsInFlight.size());
    gStreamers.push_back(streamer);

    roll.streamer = streamer;
    gRollsInFlight.push_back(roll);
}

void throwEgg(float power, Vec3 direction)
{
    platformPlaySound(kThrowSound);
    Vec3 start = launchPoint();
    float speed = kEggSpeedPerPower * power;

    EggRecord egg{};
    egg.position = egg.previousPosition = start;
    egg.direction = direction;
    egg.speed = Vec3{speed, speed, speed};
    egg.active = 1;
    gEggsInFlight.push_back(egg);
}

// the roll bounces off the wall that faces the level's station by turning back one horizontal
// component; a point of the house that matches no wall keeps its direction
static void bounceRoll(RollRecord& roll, int32_t level)
{
    const Vec3& p = roll.position;
    bool nearWallBack = level <= 2;  // levels 1 and 2 face the wall at the back (-z)
    bool zWall = nearWallBack ? p.z < kBackWallZ : p.z > kFrontWallZ;
    bool xWall = (level == 1 || level == 4) ? p.x < -kSideWallX : p.x > kSideWallX;
    if (zWall)
        roll.direction.z = -roll.direction.z;
    else if (xWall)
        roll.direction.x = -roll.direction.x;
}

void updateRolls(float dt)
{
    for (RollRecord& roll : gRollsInFlight) {
        if (!roll.active)
            continue;
        roll.speed.y = float(roll.speed.y - kGravityPerCall);
        roll.previousPosition = roll.position;
        // the roll rises and falls by its vertical speed alone, not the look's pitch
        roll.position.x += roll.direction.x * roll.speed.x * dt;
        roll.position.y += roll.speed.y * dt;
        roll.position.z += roll.direction.z * roll.speed.z * dt;

        // the streamer's leading edge rides on the roll's two ends
        roll.endA = vecAdd(roll.position, vecScale(roll.side, kRollHalfWidth));
        roll.endB = vecSub(roll.position, vecScale(roll.side, kRollHalfWidth));
        if (roll.streamer) {
            roll.streamer->at(0, 0).position = roll.endA;
            roll.streamer->at(1, 0).position = roll.endB;
        }

        int32_t hit = hitTestAt(roll.position, true);
        if (hit != 0 && gLevel >= 1 && gLevel <= 4)
            bounceRoll(roll, gLevel);
        if (roll.position.y <= 0.0f)
            roll.active = 0;
    }
}

void updateEggs(float dt)
{
    for (EggRecord& egg : gEggsInFlight) {
        if (egg.active) {
            egg.speed.y = float(egg.speed.y - kGravityPerCall);
            egg.previousPosition = egg.position;
            egg.position.x += egg.direction.x * egg.speed.x * dt;
            egg.position.y += egg.direction.y * egg.speed.y * dt;
            egg.position.z += egg.direction.z * egg.speed.z * dt;

            // the query knocks a struck plant out, so each plant counts once
            int32_t hit = hitTestAt(egg.position, false);
            if (hit != 0)
                egg.struck = 1;
            if (egg.position.y <= 0.0f || hit != 0)
                egg.active = 0;
            if (hit == 1) {
                egg.struckPlant = 1;
                scorePlantStrike(gLevel);
            }
        }
        requestRedisplay();
    }
}
