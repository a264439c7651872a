// Balls: the rack, motion between contacts, and ball-to-ball prediction and impulses.
#include "sim/ball.h"

#include <algorithm>

// Five rows of object balls behind the foot spot, each row sqrt(3) further towards -z.
const RackEntry rack[BALL_COUNT] = {
    {0, {0, 1, 22}, {1, 1, 1, 1}, {1, 1, 1, 1}, 100},
    {1, {0, 1, -22}, {1, 0, 0, 1}, {1, 1, 1, 1}, 100},
    {10, {-1, 1, -23.732052f}, {0, 1, 0, 1}, {1, 1, 1, 1}, 100},
    {9, {1, 1, -23.732052f}, {0, 0, 1, 1}, {1, 1, 1, 1}, 100},
    {3, {-2, 1, -25.464102f}, {1, 1, 0, 1}, {1, 1, 1, 1}, 100},
    {8, {0, 1, -25.464102f}, {0, 0, 0, 1}, {1, 1, 1, 1}, 100},
    {2, {2, 1, -25.464102f}, {1, 0, 1, 1}, {1, 1, 1, 1}, 100},
    {12, {-3, 1, -27.196154f}, {0, 1, 1, 1}, {1, 1, 1, 1}, 100},
    {5, {-1, 1, -27.196154f}, {0.5f, 0, 0, 1}, {1, 1, 1, 1}, 100},
    {4, {1, 1, -27.196154f}, {0, 0.5f, 0, 1}, {1, 1, 1, 1}, 100},
    {11, {3, 1, -27.196154f}, {0, 0, 0.5f, 1}, {1, 1, 1, 1}, 100},
    {7, {-4, 1, -28.928204f}, {0.5f, 0.5f, 0, 1}, {1, 1, 1, 1}, 100},
    {15, {-2, 1, -28.928204f}, {0.5f, 0, 0.5f, 1}, {1, 1, 1, 1}, 100},
    {6, {0, 1, -28.928204f}, {0, 0.5f, 0.5f, 1}, {1, 1, 1, 1}, 100},
    {14, {2, 1, -28.928204f}, {0.3f, 0.3f, 0, 1}, {1, 1, 1, 1}, 100},
    {13, {4, 1, -28.928204f}, {0, 0.3f, 0.3f, 1}, {1, 1, 1, 1}, 100},
};

Ball::Ball(const RackEntry& row)
    : number(static_cast<int>(row.number)),
      position(row.position[0], row.position[1], row.position[2]) {}

Ball::Ball(float radius_, float x, float y, float z) : radius(radius_), position(x, y, z) {}

void Ball::reset(const float* position_) {
    pocketed = false;
    position = Vec3(position_[0], position_[1], position_[2]);
    velocity = acceleration = rotation = angularVelocity = angularAcceleration = Vec3();
    setIdentity(orientation);
}

bool Ball::operator==(const Ball& o) const {
    return number == o.number && radius == o.radius && mass == o.mass && pocketed == o.pocketed &&
           position == o.position && velocity == o.velocity && acceleration == o.acceleration &&
           rotation == o.rotation && angularVelocity == o.angularVelocity &&
           angularAcceleration == o.angularAcceleration &&
           std::equal(orientation, orientation + 16, o.orientation);
}

bool Ball::overlaps(const Ball& other) const {
    if (pocketed || other.pocketed) return false;
    const Vec3 d = position - other.position;
    return radius + other.radius >= d.length();
}

double contactTime(const Vec3& d, const Vec3& w, double touchDistance) {
    const double a = w.dot(w);
    const double b = 2.0 * d.dot(w);
    const double c = d.dot(d) - touchDistance * touchDistance;
    if (a == 0.0) return -1.0;
    // Approaching only clearly: a pair moving almost exactly sideways can round b a hair below
    // zero, and its contact would then be found at time 0 again and again.
    if (!(b < -1e-9 * std::sqrt(a) * d.length())) return -1.0;
    if (c < 0.0) return 0.0;
    const double disc = b * b - 4.0 * a * c;
    if (disc < 0.0) return -1.0;
    if (disc == 0.0) {
        const double t = -b / (2.0 * a);
        if (t >= 0.0) return t;
        return t >= -PAST_CONTACT_TIME ? 0.0 : -1.0;
    }
    const double root = std::sqrt(disc);
    double t1 = (-b - root) / (2.0 * a);
    double t2 = (root - b) / (2.0 * a);
    if (t1 >= -PAST_CONTACT_TIME && t1 < 0.0) t1 = 0.0;
    if (t2 >= -PAST_CONTACT_TIME && t2 < 0.0) t2 = 0.0;
    if (t1 >= 0.0) return (t2 >= 0.0 && t2 <= t1) ? t2 : t1;
    return t2 >= 0.0 ? t2 : -1.0;
}

double Ball::timeToHit(const Ball& other) const {
    if (pocketed || other.pocketed) return -1.0;
    return contactTime(position - other.position, velocity - other.velocity, radius + other.radius);
}

void Ball::setRolling() {
    const double speed = velocity.length();
    acceleration = speed > 0.0 ? -ROLLING_DECELERATION * velocity / speed : Vec3();
    angularVelocity = Vec3(velocity.z, velocity.y, -velocity.x);
    const double spin = angularVelocity.length();
    angularAcceleration = spin > 0.0 ? -ROLLING_DECELERATION * angularVelocity / spin : Vec3();
}

void Ball::collideWith(Ball& other) {
    const Vec3 n = (position - other.position).normalized();
    const Vec3 w = velocity - other.velocity;
    const double j = -2.0 * w.dot(n) / (n.dot(n) * (1.0 / mass + 1.0 / other.mass));
    velocity = velocity + (j / mass) * n;
    setRolling();
    foldRotation();
    other.velocity = other.velocity - (j / other.mass) * n;
    other.setRolling();
    other.foldRotation();
}

void Ball::advance(double dt) {
    const double h = 0.5 * dt * dt;
    position = position + velocity * dt + acceleration * h;
    const Vec3 oldVelocity = velocity;
    velocity = velocity + acceleration * dt;
    // A velocity that reversed or vanished inside the step means the ball has stopped.
    if (oldVelocity.dot(velocity) <= 0.0) velocity = acceleration = Vec3();
    rotation = rotation + angularVelocity * dt + angularAcceleration * h;
    const Vec3 oldAngularVelocity = angularVelocity;
    angularVelocity = Vec3(velocity.z, velocity.y, -velocity.x);
    if (oldAngularVelocity.dot(angularVelocity) <= 0.0) {
        foldRotation();
        angularVelocity = angularAcceleration = Vec3();
    }
}

void Ball::foldRotation() {
    rotateOrientation(orientation, rotation);
    rotation = Vec3();
}

void Ball::stop() {
    velocity = acceleration = angularVelocity = angularAcceleration = Vec3();
    foldRotation();
}
