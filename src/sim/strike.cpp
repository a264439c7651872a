// The cue's strike: the cue ball rolls off along the aim at the shot's power.
#include "sim/strike.h"

#include "sim/ball.h"

void strikeBall(Ball& cueBall, double angleDegrees, double power) {
    const double angle = angleDegrees * RADIANS_PER_DEGREE;
    const double s = std::sin(angle), c = std::cos(angle);
    cueBall.velocity = Vec3(-s * power, 0.0, -c * power);
    // Straight against the shot from the aim's own sine and cosine: normalizing the velocity
    // instead (as Ball::setRolling does) would round differently.
    cueBall.acceleration = Vec3(ROLLING_DECELERATION * s, 0.0, ROLLING_DECELERATION * c);
    const Vec3& v = cueBall.velocity;
    const Vec3& a = cueBall.acceleration;
    cueBall.angularVelocity = Vec3(v.z, v.y, -v.x);
    cueBall.angularAcceleration = Vec3(a.z, a.y, -a.x);
}
