// SPDX-License-Identifier: MIT
// player: the right button, the power bar, launching rolls and eggs and their flight.
#include "player/throwing.h"

#include <algorithm>
#include <cmath>

#include "common/exact_math.h"
#include "common/house.h"
#include "platform/redisplay.h"
#include "platform/services.h"
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
constexpr int kLongestFlightSteps = 10000;

int32_t hitTestAt(Vec3 point, int32_t level, bool probeOnly)
{
    // without a World there is nothing to strike
    return gWorld ? gWorld->hitTest(point, level, probeOnly) : 0;
}

}  // namespace

bool hidingTooFarToThrow()
{
    // once the player has stepped 1.0 or more aside the button throws nothing
    return std::trunc(gHideLeftAmount) != 0.0f || std::trunc(gHideRightAmount) != 0.0f;
}

void startCharging()
{
    // a bar still falling from the last charge would start below 0 and throw backwards
    gCharging = 1;
    gPowerFalling = 0;
    gThrowPower = 0.0f;
}

void cancelCharging()
{
    gCharging = 0;
}

void releaseThrow(bool egg)
{
    gCharging = 0;
    if (egg)
        throwEgg(gThrowPower, gViewDir);
    else
        throwRoll(gThrowPower, gViewDir);
}

void selectAmmunition(bool eggs)
{
    gEggSelected = eggs ? 1 : 0;
}

void emptyPowerBar()
{
    gThrowPower = 0.0f;
}

void stopAllFlights()
{
    for (RollRecord& roll : gRollsInFlight)
        roll.active = 0;
    for (EggRecord& egg : gEggsInFlight)
        egg.active = 0;
}

void stepPowerBar()
{
    if (!gCharging)
        return;
    // the turn is decided on the sum before it is rounded to the stored float
    if (gPowerFalling) {
        double power = double(gThrowPower) - kPowerStep;
        // the bar turns at its bottom, never below 0
        gThrowPower = float(std::max(power, 0.0));
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
    double c = vxCos(double(gStationAngle)) * kStationRadius;
    double s = vxSin(double(gStationAngle)) * kStationRadius;
    return Vec3{float(c + gHideShift.x + gEyeLift.x), gEyeLift.y,
                float(s + gHideShift.z + gEyeLift.z)};
}

// the item leaving the launch point along direction at a speed that grows with the power
static Projectile launched(float speedPerPower, float power, Vec3 direction)
{
    const Vec3 start = launchPoint();
    const float speed = speedPerPower * power;
    return Projectile{start, start, direction, Vec3{speed, speed, speed}, 1};
}

// the throw's sound, and the item on its way
static Projectile launch(float speedPerPower, float power, Vec3 direction)
{
    playSound(kThrowSound);
    return launched(speedPerPower, power, direction);
}

// one flight step: gravity takes the same off the vertical speed whatever the step's length;
// the rise is the vertical speed scaled by verticalFactor
static void flightStep(Projectile& p, float dt, float verticalFactor)
{
    p.speed.y = float(p.speed.y - kGravityPerCall);
    p.previousPosition = p.position;
    p.position.x += p.direction.x * p.speed.x * dt;
    p.position.y += verticalFactor * p.speed.y * dt;
    p.position.z += p.direction.z * p.speed.z * dt;
}

void throwRoll(float power, Vec3 direction)
{
    RollRecord roll{};
    static_cast<Projectile&>(roll) = launch(kRollSpeedPerPower, power, direction);
    roll.side = gSideVector;
    roll.endA = vecAdd(roll.position, vecScale(gSideVector, kRollHalfWidth));
    roll.endB = vecSub(roll.position, vecScale(gSideVector, kRollHalfWidth));

    // the streamer finds its roll by index, which survives the container growing
    PaperStreamer* streamer = new PaperStreamer(roll.endA, roll.endB);
    streamer->landed = 0;
    streamer->roll = int32_t(gRollsInFlight.size());
    addStreamer(streamer);

    roll.streamer = streamer;
    gRollsInFlight.push_back(roll);
}

void throwEgg(float power, Vec3 direction)
{
    EggRecord egg{};
    static_cast<Projectile&>(egg) = launch(kEggSpeedPerPower, power, direction);
    gEggsInFlight.push_back(egg);
}

// the roll bounces off the wall that faces the level's station by turning back one horizontal
// component; a point of the house that matches no wall keeps its direction
static void bounceRoll(RollRecord& roll, int32_t level)
{
    const Vec3& p = roll.position;
    bool nearWallBack = level <= 2;  // levels 1 and 2 face the wall at the back (-z)
    bool zWall = nearWallBack ? p.z < house::bounce::kBackZ : p.z > house::bounce::kFrontZ;
    bool xWall = (level == 1 || level == 4) ? p.x < -house::bounce::kSideX
                                            : p.x > house::bounce::kSideX;
    if (zWall)
        roll.direction.z = -roll.direction.z;
    else if (xWall)
        roll.direction.x = -roll.direction.x;
}

// what a roll does after each flight step: the house turns it back, the ground stops it; true
// when it touched either
static bool rollTouches(RollRecord& roll, int32_t level)
{
    int32_t hit = hitTestAt(roll.position, level, true);
    if (hit != 0 && level >= 1 && level <= 4)
        bounceRoll(roll, level);
    if (roll.position.y <= 0.0f)
        roll.active = 0;
    return hit != 0 || roll.position.y <= 0.0f;
}

void updateRolls(float dt, int32_t level)
{
    for (RollRecord& roll : gRollsInFlight) {
        if (!roll.active)
            continue;
        // the roll rises and falls by its vertical speed alone, not the look's pitch
        flightStep(roll, dt, 1.0f);

        // the streamer's leading edge rides on the roll's two ends
        roll.endA = vecAdd(roll.position, vecScale(roll.side, kRollHalfWidth));
        roll.endB = vecSub(roll.position, vecScale(roll.side, kRollHalfWidth));
        if (roll.streamer)
            roll.streamer->placeLeadingEdge(roll.endA, roll.endB);

        rollTouches(roll, level);
    }
}

Vec3 rollTouchPoint(float power, Vec3 direction, int32_t level, float dt, float stripDtMs)
{
    // the roll and its strip as throwRoll makes them, flown as the step flies them: the roll,
    // then its strip, which stops the roll where it strikes the house
    RollRecord roll{};
    static_cast<Projectile&>(roll) = launched(kRollSpeedPerPower, power, direction);
    roll.side = gSideVector;
    PaperStreamer strip(vecAdd(roll.position, vecScale(roll.side, kRollHalfWidth)),
                        vecSub(roll.position, vecScale(roll.side, kRollHalfWidth)));
    strip.landed = 0;
    // the vertical speed falls by the same each step, so a roll comes down within a few hundred
    // steps; the bound only guards against a step of no length
    for (int step = 0; step < kLongestFlightSteps; ++step) {
        flightStep(roll, dt, 1.0f);
        strip.placeLeadingEdge(vecAdd(roll.position, vecScale(roll.side, kRollHalfWidth)),
                               vecSub(roll.position, vecScale(roll.side, kRollHalfWidth)));
        if (rollTouches(roll, level) || updateStreamer(&strip, stripDtMs, true))
            break;
    }
    return roll.position;
}

int32_t updateEggs(float dt, int32_t level)
{
    int32_t plantStrikes = 0;
    for (EggRecord& egg : gEggsInFlight) {
        if (egg.active) {
            // an egg rises along the look's pitch
            flightStep(egg, dt, egg.direction.y);

            // the query knocks a struck plant out, so each plant counts once
            int32_t hit = hitTestAt(egg.position, level, false);
            if (hit != 0)
                egg.struck = 1;
            if (egg.position.y <= 0.0f || hit != 0)
                egg.active = 0;
            if (hit == 1) {
                egg.struckPlant = 1;
                plantStrikes += 1;
            }
        }
        requestRedisplay();
    }
    return plantStrikes;
}

bool rollFlying(int32_t roll)
{
    if (roll < 0 || size_t(roll) >= gRollsInFlight.size())
        return false;
    return gRollsInFlight[size_t(roll)].active != 0;
}

void stopRoll(int32_t roll)
{
    if (roll >= 0 && size_t(roll) < gRollsInFlight.size())
        gRollsInFlight[size_t(roll)].active = 0;
}

// a strip that strikes the house stops the roll it trails; the placeholder at index 0 is never
// simulated
void stepStreamers(float dtTick)
{
    for (size_t i = 1; i < gStreamers.size(); ++i)
        sinkStreamer(gStreamers[i], dtTick, rollFlying(gStreamers[i]->roll));
    for (size_t i = 1; i < gStreamers.size(); ++i) {
        PaperStreamer* streamer = gStreamers[i];
        if (updateStreamer(streamer, dtTick, rollFlying(streamer->roll)))
            stopRoll(streamer->roll);
    }
}
