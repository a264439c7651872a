// Ball: one of the sixteen pool balls, or a short-lived probe standing for a corner or pocket.
#pragma once

#include "sim/vec3.h"

// One row of the rack: number, position xyz, diffuse rgba, specular rgba, shininess.
struct RackEntry {
    float number;
    float position[3];
    float diffuse[4];
    float specular[4];
    float shininess;
};

constexpr int BALL_COUNT = 16;
// Every ball of the rack has this size.
constexpr double BALL_RADIUS = 1.0;               // world units
constexpr double BALL_DIAMETER = 2 * BALL_RADIUS; // world units: between touching centres
// A ball's centre on the felt, which lies at y = 0.
constexpr double RESTING_HEIGHT = BALL_RADIUS; // world units
// A moving ball rolls without slipping and slows at this rate, whatever its speed.
constexpr double ROLLING_DECELERATION = 2.0; // units/s^2
extern const RackEntry rack[BALL_COUNT];

// A ball as the simulation moves it: a plain value, copied freely by the game and its searches.
class Ball {
public:
    int number = 0;              // 0 cue ball, 1..15 object balls
    double radius = BALL_RADIUS; // world units
    double mass = 1.0;           // mass units
    bool pocketed = false;
    Vec3 position;            // world units
    Vec3 velocity;            // units/s
    Vec3 acceleration;        // units/s^2
    Vec3 rotation;            // rad, axis times angle not yet folded into orientation
    Vec3 angularVelocity;     // rad/s
    Vec3 angularAcceleration; // rad/s^2
    float orientation[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; // column-major

    Ball() = default;
    // The ball of a rack row, at rest on its spot.
    explicit Ball(const RackEntry& row);
    // A probe: no number; stands for a spot or a point of the table.
    Ball(float radius, float x, float y, float z);

    void reset(const float* position);
    bool overlaps(const Ball& other) const;

    // Seconds until the two spheres touch on straight lines at their current velocities;
    // 0 when they overlap and approach; -1 when they will not touch.
    double timeToHit(const Ball& other) const;
    // Elastic impulse along the line of centres; both balls then roll on their new courses.
    void collideWith(Ball& other);
    // Moves and rolls the ball for dt seconds under its constant deceleration.
    void advance(double dt);
    // Turns the orientation by the accumulated rotation and clears the rotation.
    void foldRotation();
    // Deceleration and angular terms of a ball rolling without slipping at its velocity.
    void setRolling();
    // Puts the ball exactly at rest, its rotation folded into its orientation.
    void stop();

    bool operator==(const Ball& other) const;
    bool operator!=(const Ball& other) const { return !(*this == other); }
};

// Contact time of two spheres whose centres are d apart, closing at relative velocity w
// (both straight lines at constant speed), touching at touchDistance; rules as Ball::timeToHit.
double contactTime(const Vec3& d, const Vec3& w, double touchDistance);
// Rounding can put the contact of a touching pair a hair in the past: a contact up to this long
// ago happens now.
constexpr double PAST_CONTACT_TIME = 1e-6; // seconds
