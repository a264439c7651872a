// The physics of the cue striking the cue ball, shared by the game and pool-sim.
#pragma once

class Ball;

// The cue's full draw-back strikes the cue ball at this speed; no shot is harder.
constexpr double MAX_SHOT_POWER = 100.0; // units/s

// Sets the ball rolling along (-sin, 0, -cos) of the aim angle (degrees; 0 shoots towards -z)
// at `power` units/s, slowing at ROLLING_DECELERATION, with the matching angular terms. Position,
// rotation and orientation are left alone.
void strikeBall(Ball& cueBall, double angleDegrees, double power);
