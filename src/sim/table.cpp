// The table's collision features and the contacts of a ball with cushions, corners and pockets.
#include "sim/table.h"

#include "sim/ball.h"

namespace {
constexpr int C = FEATURE_CUSHION, K = FEATURE_CORNER, P = FEATURE_POCKET;
// Cushions return 70% of the speed they take along their normal.
constexpr double CUSHION_RESTITUTION = 0.7;
} // namespace

// Once round the playing area from the pocket at -x, -z: each pocket group lists its entry jaw,
// back and exit jaw, the two cushion ends bounding the opening, then the pocket itself.
constexpr TableFeature tableFeatures[tableFeatureCount] = {
    {C, {-19, 1, -44, -22, 1, -47, -1, 0, 1}},
    {C, {-22, 1, -47, -25, 1, -44, 1, 0, 1}},
    {C, {-25, 1, -44, -22, 1, -41, 1, 0, -1}},
    {K, {-19, 1, -44}},
    {K, {-22, 1, -41}},
    {P, {-24.1, 1, -46.1, 0, 0, 0, 3}},
    {C, {-22, 1, -41, -22, 1, -3, 1, 0, 0}},
    {C, {-22, 1, -3, -25, 1, -1.5, 1.5, 0, 3}},
    {C, {-25, 1, -1.5, -25, 1, 1.5, 1, 0, 0}},
    {C, {-25, 1, 1.5, -22, 1, 3, 1.5, 0, -3}},
    {K, {-22, 1, -3}},
    {K, {-22, 1, 3}},
    {P, {-25, 1, 0, 0, 0, 0, 3}},
    {C, {-22, 1, 3, -22, 1, 41, 1, 0, 0}},
    {C, {-22, 1, 41, -25, 1, 44, 1, 0, 1}},
    {C, {-25, 1, 44, -22, 1, 47, 1, 0, -1}},
    {C, {-22, 1, 47, -19, 1, 44, -1, 0, -1}},
    {K, {-22, 1, 41}},
    {K, {-19, 1, 44}},
    {P, {-24.1, 1, 46.1, 0, 0, 0, 3}},
    {C, {-19, 1, 44, 19, 1, 44, 0, 0, -1}},
    {C, {19, 1, 44, 22, 1, 47, 1, 0, -1}},
    {C, {22, 1, 47, 25, 1, 44, -1, 0, -1}},
    {C, {25, 1, 44, 22, 1, 41, -1, 0, 1}},
    {K, {19, 1, 44}},
    {K, {22, 1, 41}},
    {P, {24.1, 1, 46.1, 0, 0, 0, 3}},
    {C, {22, 1, 41, 22, 1, 3, -1, 0, 0}},
    {C, {22, 1, 3, 25, 1, 1.5, -1.5, 0, -3}},
    {C, {25, 1, 1.5, 25, 1, -1.5, -1, 0, 0}},
    {C, {25, 1, -1.5, 22, 1, -3, -1.5, 0, 3}},
    {K, {22, 1, 3}},
    {K, {22, 1, -3}},
    {P, {25, 1, 0, 0, 0, 0, 3}},
    {C, {22, 1, -3, 22, 1, -41, -1, 0, 0}},
    {C, {22, 1, -41, 25, 1, -44, -1, 0, -1}},
    {C, {25, 1, -44, 22, 1, -47, -1, 0, 1}},
    {C, {22, 1, -47, 19, 1, -44, 1, 0, 1}},
    {K, {22, 1, -41}},
    {K, {19, 1, -44}},
    {P, {24.1, 1, -46.1, 0, 0, 0, 3}},
    {C, {19, 1, -44, -19, 1, -44, 0, 0, 1}},
};

namespace {
Vec3 point(const double* d) { return Vec3(d[0], d[1], d[2]); }

// The feature points as the float probe balls that stand for corners and pockets carry them.
// Rounded at compile time: GCC 12 at -O2 drops a double-float-double round trip when it
// vectorizes one.
struct ProbePoints {
    double point[tableFeatureCount][3];
};

constexpr ProbePoints roundedToFloat() {
    ProbePoints probes{};
    for (int k = 0; k < tableFeatureCount; ++k)
        for (int c = 0; c < 3; ++c)
            probes.point[k][c] = static_cast<float>(tableFeatures[k].d[c]);
    return probes;
}

constexpr ProbePoints PROBES = roundedToFloat();

double cushionTime(const Ball& ball, const TableFeature& f) {
    const Vec3 a = point(f.d), b = point(f.d + 3);
    const Vec3 n = point(f.d + 6).normalized();
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
    if (f.kind == FEATURE_CUSHION) return cushionTime(ball, f);
    const Vec3 probe = point(PROBES.point[k]);
    if (f.kind == FEATURE_CORNER) // the ball against a point: a probe of radius 0 at rest
        return contactTime(ball.position - probe, ball.velocity, ball.radius);
    // The ball's centre, taken as a point, against the pocket circle (radius 3 exactly as a float).
    return contactTime(ball.position - probe, ball.velocity, f.d[6]);
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
    case FEATURE_POCKET:
        ball.pocketed = true;
        ball.position.y = -2.0 * (ball.number + 1);
        ball.velocity = ball.acceleration = ball.angularVelocity = ball.angularAcceleration = Vec3();
        break;
    case FEATURE_CUSHION: rebound(ball, point(f.d + 6)); break;
    default: rebound(ball, ball.position - point(f.d)); break;
    }
}

ContactKind Table::contactKind(int feature) const {
    switch (tableFeatures[feature].kind) {
    case FEATURE_POCKET: return ContactKind::Pocket;
    case FEATURE_CUSHION: return ContactKind::Cushion;
    default: return ContactKind::Corner;
    }
}

Vec3 Table::contactNormal(const Ball& ball, int feature) const {
    const TableFeature& f = tableFeatures[feature];
    if (f.kind == FEATURE_CUSHION) return point(f.d + 6).normalized();
    return (ball.position - point(f.d)).normalized();
}
