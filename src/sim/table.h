// Table: the pool table object and the fixed list of features the balls collide with.
#pragma once

#include "sim/scene_object.h"

class Ball;

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
    int length = 88; // playing area along z, world units
    int width = 44;  // playing area along x, world units

    Table(int length, int width, const float* position, const float* diffuse, const float* specular,
          const float* shininess);

    double timeToHit(const Ball& ball, int& feature) const;
    void collide(Ball& ball, int feature) const;

    void draw(bool lighting, bool shadows, bool texturing, int passFlags) override;
};

extern Table* table;
