// Table: the pool table object and the fixed list of features the balls collide with.
#pragma once

#include "sim/ball.h"
#include "sim/contact.h"
#include "sim/scene_object.h"

// The playing area inside the cushions' noses, world units.
constexpr int TABLE_LENGTH = 88; // along z
constexpr int TABLE_WIDTH = 44;  // along x
// Half sizes of the rectangle a ball's centre may take on the felt: a radius inside the
// cushions, clear of every cushion, cushion end and pocket.
constexpr double FREE_HALF_WIDTH = TABLE_WIDTH / 2 - BALL_RADIUS;   // world units, along x
constexpr double FREE_HALF_LENGTH = TABLE_LENGTH / 2 - BALL_RADIUS; // world units, along z
// The table's material: green felt with a soft sheen.
constexpr float TABLE_DIFFUSE[4] = {0.0f, 0.75f, 0.0f, 1.0f};
constexpr float TABLE_SPECULAR[4] = {0.75f, 0.75f, 0.75f, 1.0f};
constexpr float TABLE_SHININESS = 75.0f;

enum TableFeatureKind { FEATURE_CUSHION = 0, FEATURE_CORNER = 1, FEATURE_POCKET = 2 };

// Cushion: A = d[0..2], B = d[3..5], normal = d[6..8]. Corner: point = d[0..2].
// Pocket: centre = d[0..2], radius = d[6].
struct TableFeature {
    int kind;
    double d[9];
};

constexpr int tableFeatureCount = 42;
extern const TableFeature tableFeatures[tableFeatureCount];

class Table final : public SceneObject {
public:
    int length = TABLE_LENGTH; // playing area along z, world units
    int width = TABLE_WIDTH;   // playing area along x, world units

    Table(int length, int width, const float* position, const float* diffuse, const float* specular,
          const float* shininess);

    double timeToHit(const Ball& ball, int& feature) const;
    // The ball's rebound off a cushion or cushion end, or its drop into a pocket (below the
    // table, each ball at its own depth, at rest).
    void collide(Ball& ball, int feature) const;
    ContactKind contactKind(int feature) const;
    // Unit normal of the contact, pointing from the feature towards the ball's centre.
    Vec3 contactNormal(const Ball& ball, int feature) const;

    void draw(bool lighting, bool shadows, bool texturing, int passFlags) override;
};

