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

enum TableFeatureKind { FEATURE_CUSHION = 0, FEATURE_CORNER = 1, FEATURE_POCKET = 2 };

// Cushion: A = d[0..2], B = d[3..5], normal = d[6..8]. Corner: point = d[0..2].
// Pocket: centre = d[0..2], radius = d[6].
struct TableFeature {
    int kind;
    double d[9];
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
