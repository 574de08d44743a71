// SPDX-License-Identifier: MIT
// player: the power bar, the thrown rolls and eggs and their flight. Plain globals, owned here,
// reset by resetThrowingState().
#pragma once
#include <cstdint>
#include <vector>

#include "common/vec.h"

class PaperStreamer;

// what a roll and an egg share: where it is and how it flies
struct Projectile {
    Vec3 position;
    Vec3 previousPosition;
    Vec3 direction;           // the camera's view direction at the throw
    Vec3 speed;               // x, z: horizontal factors; y: vertical velocity
    uint8_t active;           // still flying
};

struct RollRecord : Projectile {
    Vec3 endA;                // where the streamer's ends are held
    Vec3 endB;
    Vec3 side;                // the roll's axis
    PaperStreamer* streamer;  // owned through gStreamers
};

struct EggRecord : Projectile {
    uint8_t struck;           // struck the house or a plant
    uint8_t struckPlant;
};

extern uint8_t gEggSelected;      // 0: the right button throws rolls; 1: eggs
extern uint8_t gCharging;         // the power bar is running
extern uint8_t gPowerFalling;
extern float gThrowPower;
extern std::vector<RollRecord> gRollsInFlight;  // every roll thrown; nothing is removed
extern std::vector<EggRecord> gEggsInFlight;

// the right button's rules (ammunition, when a throw is allowed) belong to the state of play;
// these are the player's side of them
// at 1.0 or more to either side the button throws nothing
bool hidingTooFarToThrow();
// the power bar starts swinging up from 0
void startCharging();
// the power bar stops with nothing thrown
void cancelCharging();
// the power bar stops and the roll or egg leaves along the view at the power it reached
void releaseThrow(bool egg);
// one step of the power bar, once per step of play while charging
void stepPowerBar();
Vec3 launchPoint();
void throwRoll(float power, Vec3 direction);
void throwEgg(float power, Vec3 direction);
// one flight step of every roll in the air at the given level; a roll's strip follows its ends
void updateRolls(float dt, int32_t level);
// where a roll thrown now at this power along direction first touches the house or the ground,
// or its strip strikes the house and stops it: the same flight, step for step, that updateRolls
// and stepStreamers give it with steps of dt seconds and stripDtMs milliseconds
Vec3 rollTouchPoint(float power, Vec3 direction, int32_t level, float dt, float stripDtMs);
// one flight step of every egg; returns how many struck a plant in this step
int32_t updateEggs(float dt, int32_t level);
// does the roll with this index still fly? (false for none, as the placeholder's -1)
bool rollFlying(int32_t roll);
// the roll with this index stops where it is (nothing for none)
void stopRoll(int32_t roll);
// the sinking and relaxation of every thrown strip, dtTick milliseconds after the last step;
// true when a particle of some strip moved
bool stepStreamers(float dtTick);
// the right button throws eggs (true) or rolls
void selectAmmunition(bool eggs);
// the power bar back to empty (a turn begins)
void emptyPowerBar();
// whatever is still in the air stops where it is and is no longer drawn
void stopAllFlights();
void resetThrowingState();
