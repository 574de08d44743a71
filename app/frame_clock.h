// app: the frame loop's clocks. Idle-to-idle tick stamps, the display's process-clock stamps,
// the capped frame interval that drives the level clock and the flights, and the 60 Hz pacing.
#pragma once
#include <cstdint>

extern float gTickNow;          // tick counter at the end of the latest idle call, ms
extern float gTickPrev;         // the value of gTickNow before that
extern int32_t gDrawStartClock; // process clock at the start of the latest display call, ms
extern int32_t gDrawEndClock;   // process clock read by the level clock near its end, ms
extern int32_t gFrameIntervalMs;// wall time between the starts of the last two display calls,
                                // capped at kMaxFrameIntervalMs; 0 for the first frame
extern uint8_t gFrameClockRunning; // a display call has stamped gDrawStartClock
extern int32_t gLevelClockPendingMs; // frame intervals the level clock has not had yet
extern double gIdleCallStart;   // seconds at which the latest idle call went ahead; < 0 before

constexpr int32_t kMaxFrameIntervalMs = 100;
constexpr double kIdleStepsPerSecond = 60.0;

// at the start of each display call: stamps gDrawStartClock and measures gFrameIntervalMs
void beginFrameClock(int32_t nowMs);
// the frame intervals of the frames drawn since the last call, for the level clock: a level
// second passes once however many idle calls come between two frames
int32_t takeLevelClockInterval();
// the flight step of the rolls and eggs in seconds
float flightStepSeconds();
// the tick step of hiding, the walk back and the streamers, ms
float tickStepMs();
// the moment an idle call that arrives at `now` may go ahead: 1/60 s after the previous one
// went ahead, or at once if that has passed (seconds)
double pacedIdleStart(double previousStart, double now);
// sleeps as pacedIdleStart says and records the start in gIdleCallStart
void paceIdleCall();
void resetFrameClock();
