// player: the power bar, the thrown rolls and eggs and their flight. Plain globals, owned here,
// reset by resetThrowingState().
#pragma once
#include <cstdint>
#include <vector>

#include "common/vec.h"

class PaperStreamer;

struct RollRecord {
    Vec3 position;
    Vec3 previousPosition;
    Vec3 direction;           // the camera's view direction at the throw
    Vec3 speed;               // x, z: horizontal factors; y: vertical velocity
    uint8_t active;           // still flying
    Vec3 endA;                // where the streamer's ends are held
    Vec3 endB;
    Vec3 side;                // the roll's axis
    PaperStreamer* streamer;  // owned through gStreamers
};

struct EggRecord {
    Vec3 position;
    Vec3 previousPosition;
    Vec3 direction;
    Vec3 speed;
    uint8_t active;
    uint8_t struck;           // struck the house or a plant
    uint8_t struckPlant;
};

extern uint8_t gEggSelected;      // 0: the right button throws rolls; 1: eggs
extern uint8_t gCharging;         // the power bar is running
extern uint8_t gPowerFalling;
extern float gThrowPower;
extern std::vector<RollRecord> gRollsInFlight;  // every roll thrown; nothing is removed
extern std::vector<EggRecord> gEggsInFlight;

// right button: pressed = 1 on press, 0 on release
void onThrowButton(int pressed);
// one step of the power bar, once per idle call while charging
void stepPowerBar();
Vec3 launchPoint();
void throwRoll(float power, Vec3 direction);
void throwEgg(float power, Vec3 direction);
void updateRolls(float dt);
void updateEggs(float dt);
void resetThrowingState();
