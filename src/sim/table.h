// Table: the playing area and the fixed list of features the balls collide with.
#pragma once

#include "sim/ball.h"
#include "sim/contact.h"

// The playing area inside the cushions' noses, world units.
constexpr int TABLE_LENGTH = 88; // along z
constexpr int TABLE_WIDTH = 44;  // along x
// Half sizes of the free area: the rectangle that the centre of a ball of BALL_RADIUS roams
// without reaching a cushion, a cushion end or a pocket. The cue ball in hand is placed in it.
constexpr double FREE_HALF_WIDTH = TABLE_WIDTH / 2 - BALL_RADIUS;   // world units, along x
constexpr double FREE_HALF_LENGTH = TABLE_LENGTH / 2 - BALL_RADIUS; // world units, along z
// Cushions and their ends return 70% of the speed a ball brings along the contact normal.
constexpr double CUSHION_RESTITUTION = 0.7;

enum class FeatureKind { Cushion, Corner, Pocket };

// One thing a ball can meet at the table's edge. Every point lies at the height of a resting
// ball's centre, so that a ball on the felt meets it in the plane of the play.
struct TableFeature {
    FeatureKind kind;
    Vec3 a;        // world units: a cushion's first end, a corner's point, a pocket's centre
    Vec3 b;        // world units: a cushion's second end
    Vec3 normal;   // of a cushion, away from it into the play; any length (direction only)
    double radius; // world units: a ball drops once its centre comes this near a pocket's centre
};

constexpr int tableFeatureCount = 42;
extern const TableFeature tableFeatures[tableFeatureCount];

// The table as the balls meet it: the playing area's size and the contacts with its features.
class Table {
public:
    int length = TABLE_LENGTH; // playing area along z, world units
    int width = TABLE_WIDTH;   // playing area along x, world units

    double timeToHit(const Ball& ball, int& feature) const;
    // The ball's rebound off a cushion or cushion end, or its drop into a pocket (below the
    // table, each ball at its own depth, at rest).
    void collide(Ball& ball, int feature) const;
    ContactKind contactKind(int feature) const;
    // Unit normal of the contact, pointing from the feature towards the ball's centre.
    Vec3 contactNormal(const Ball& ball, int feature) const;

    bool operator==(const Table& other) const {
        return length == other.length && width == other.width;
    }
};
