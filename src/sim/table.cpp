// The table's collision features and the contacts of a ball with cushions, corners and pockets.
#include "sim/table.h"

#include "sim/ball.h"

namespace {
constexpr double POCKET_RADIUS = 3.0; // world units

constexpr Vec3 at(double x, double z) { return Vec3(x, RESTING_HEIGHT, z); }

constexpr TableFeature cushion(Vec3 a, Vec3 b, Vec3 normal) {
    return {FeatureKind::Cushion, a, b, normal, 0.0};
}

constexpr TableFeature corner(double x, double z) {
    return {FeatureKind::Corner, at(x, z), Vec3(), Vec3(), 0.0};
}

constexpr TableFeature pocket(double x, double z) {
    return {FeatureKind::Pocket, at(x, z), Vec3(), Vec3(), POCKET_RADIUS};
}
} // namespace

// Once round the playing area from the pocket at -x, -z: each pocket group lists its entry jaw,
// back and exit jaw, the two cushion ends bounding the opening, then the pocket itself.
constexpr TableFeature tableFeatures[tableFeatureCount] = {
    cushion(at(-19, -44), at(-22, -47), {-1, 0, 1}),
    cushion(at(-22, -47), at(-25, -44), {1, 0, 1}),
    cushion(at(-25, -44), at(-22, -41), {1, 0, -1}),
    corner(-19, -44),
    corner(-22, -41),
    pocket(-24.1, -46.1),
    cushion(at(-22, -41), at(-22, -3), {1, 0, 0}),
    cushion(at(-22, -3), at(-25, -1.5), {1.5, 0, 3}),
    cushion(at(-25, -1.5), at(-25, 1.5), {1, 0, 0}),
    cushion(at(-25, 1.5), at(-22, 3), {1.5, 0, -3}),
    corner(-22, -3),
    corner(-22, 3),
    pocket(-25, 0),
    cushion(at(-22, 3), at(-22, 41), {1, 0, 0}),
    cushion(at(-22, 41), at(-25, 44), {1, 0, 1}),
    cushion(at(-25, 44), at(-22, 47), {1, 0, -1}),
    cushion(at(-22, 47), at(-19, 44), {-1, 0, -1}),
    corner(-22, 41),
    corner(-19, 44),
    pocket(-24.1, 46.1),
    cushion(at(-19, 44), at(19, 44), {0, 0, -1}),
    cushion(at(19, 44), at(22, 47), {1, 0, -1}),
    cushion(at(22, 47), at(25, 44), {-1, 0, -1}),
    cushion(at(25, 44), at(22, 41), {-1, 0, 1}),
    corner(19, 44),
    corner(22, 41),
    pocket(24.1, 46.1),
    cushion(at(22, 41), at(22, 3), {-1, 0, 0}),
    cushion(at(22, 3), at(25, 1.5), {-1.5, 0, -3}),
    cushion(at(25, 1.5), at(25, -1.5), {-1, 0, 0}),
    cushion(at(25, -1.5), at(22, -3), {-1.5, 0, 3}),
    corner(22, 3),
    corner(22, -3),
    pocket(25, 0),
    cushion(at(22, -3), at(22, -41), {-1, 0, 0}),
    cushion(at(22, -41), at(25, -44), {-1, 0, -1}),
    cushion(at(25, -44), at(22, -47), {-1, 0, 1}),
    cushion(at(22, -47), at(19, -44), {1, 0, 1}),
    corner(22, -41),
    corner(19, -44),
    pocket(24.1, -46.1),
    cushion(at(19, -44), at(-19, -44), {0, 0, 1}),
};

namespace {
// The feature points as the float probe balls that stand for corners and pockets carry them.
// Rounded at compile time: GCC 12 at -O2 drops a double-float-double round trip when it
// vectorizes one.
struct ProbePoints {
    Vec3 point[tableFeatureCount];
};

constexpr ProbePoints roundedToFloat() {
    ProbePoints probes{};
    for (int k = 0; k < tableFeatureCount; ++k) {
        const Vec3& p = tableFeatures[k].a;
        probes.point[k] =
            Vec3(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z));
    }
    return probes;
}

constexpr ProbePoints PROBES = roundedToFloat();

double cushionTime(const Ball& ball, const TableFeature& f) {
    const Vec3& a = f.a;
    const Vec3& b = f.b;
    const Vec3 n = f.normal.normalized();
    const double dist = (ball.position - a).dot(n);
    if (dist <= 0.0) return -1.0; // the centre is behind the cushion line
    const double gap = dist - ball.radius > 0.0 ? dist - ball.radius : 0.0;
    const double vn = ball.velocity.dot(n);
    if (vn >= 0.0) return -1.0;
    const double t = -gap / vn;
    // Contacts beyond either end belong to the corner points.
    const Vec3 contact = ball.position + t * ball.velocity;
    if ((contact - a).dot(b - a) < 0.0 || (contact - b).dot(a - b) < 0.0) return -1.0;
    return t;
}

double featureTime(const Ball& ball, int k) {
    const TableFeature& f = tableFeatures[k];
    if (f.kind == FeatureKind::Cushion) return cushionTime(ball, f);
    const Vec3& probe = PROBES.point[k];
    if (f.kind == FeatureKind::Corner) // the ball against a point: a probe of radius 0 at rest
        return contactTime(ball.position - probe, ball.velocity, ball.radius);
    // The ball's centre, taken as a point, against the pocket circle (a whole radius: exact as
    // a float).
    return contactTime(ball.position - probe, ball.velocity, f.radius);
}

void rebound(Ball& ball, Vec3 normal) {
    normal = normal / normal.length();
    const double vn = ball.velocity.dot(normal);
    ball.velocity = ball.velocity - vn * normal;
    ball.velocity = ball.velocity + (-CUSHION_RESTITUTION * vn) * normal;
    ball.setRolling();
    ball.foldRotation();
}
} // namespace

double Table::timeToHit(const Ball& ball, int& feature) const {
    feature = -1;
    double best = -1.0;
    if (ball.pocketed || ball.velocity.dot(ball.velocity) == 0.0) return -1.0;
    for (int k = 0; k < tableFeatureCount; ++k) {
        const double t = featureTime(ball, k);
        if (t < 0.0) continue;
        if (feature == -1 || t < best) {
            best = t;
            feature = k;
        }
    }
    return best;
}

void Table::collide(Ball& ball, int feature) const {
    const TableFeature& f = tableFeatures[feature];
    switch (f.kind) {
    case FeatureKind::Pocket:
        ball.pocketed = true;
        ball.position.y = -2.0 * (ball.number + 1);
        ball.velocity = ball.acceleration = Vec3();
        ball.angularVelocity = ball.angularAcceleration = Vec3();
        break;
    case FeatureKind::Cushion: rebound(ball, f.normal); break;
    default: rebound(ball, ball.position - f.a); break;
    }
}

ContactKind Table::contactKind(int feature) const {
    switch (tableFeatures[feature].kind) {
    case FeatureKind::Pocket: return ContactKind::Pocket;
    case FeatureKind::Cushion: return ContactKind::Cushion;
    default: return ContactKind::Corner;
    }
}

Vec3 Table::contactNormal(const Ball& ball, int feature) const {
    const TableFeature& f = tableFeatures[feature];
    if (f.kind == FeatureKind::Cushion) return f.normal.normalized();
    return (ball.position - f.a).normalized();
}
