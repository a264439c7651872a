// Table drawing from the collision list: shadow-receiving tops in the stencil, then sides, legs.
#include <GL/gl.h>

#include <algorithm>
#include <array>

#include "render/material.h"
#include "render/object_draw.h"
#include "render/room.h"
#include "render/scene.h"
#include "sim/table.h"

namespace {
// The felt: green with a soft sheen.
constexpr float FELT_DIFFUSE[4] = {0.0f, 0.75f, 0.0f, 1.0f};
constexpr float FELT_SPECULAR[4] = {0.75f, 0.75f, 0.75f, 1.0f};
constexpr float FELT_SHININESS = 75.0f;
constexpr float FELT_UNDER_TEXTURE[4] = {1.0f, 1.0f, 1.0f, 0.5f};
constexpr float CUSHION_UNDER_TEXTURE[4] = {0.75f, 0.75f, 0.75f, 0.5f};
constexpr float CUSHION_GREEN[4] = {0.0f, 0.5f, 0.0f, 1.0f};
constexpr float RAIL_BROWN[4] = {0.33f, 0.24f, 0.14f, 0.5f};
constexpr float SKIRT_BROWN[4] = {0.25f, 0.18f, 0.1f, 0.5f};
constexpr float LEG_BROWN[4] = {0.16f, 0.12f, 0.07f, 0.5f};
constexpr float INSET_BACKDROP[4] = {0.0f, 0.0f, 0.0f, 0.5f};

// World units, relative to the playing area's edges.
constexpr float CUSHION_DEPTH = 3.0f; // from a cushion's nose to its back
constexpr float FRAME_EDGE = 6.0f;    // from the playing area's edge to the table's outer edge
constexpr float SKIRT_BOTTOM = -10.0f;

constexpr float QUAD_TEX[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

// A point of the table's plan (x, z) with its texture coordinate.
struct PlanPoint {
    float x, z, s, t;
};

// Sets the material (when lit) and the current colour to one colour.
void setColour(const float* colour) {
    setFrontAmbientDiffuse(colour);
    glColor4fv(colour);
}

// A horizontal quad at height y, facing up, given as (x, z) corners counter-clockwise from above.
void drawTop(float y, const float (&corners)[4][2], bool textured) {
    glBegin(GL_POLYGON);
    glNormal3f(0.0f, 1.0f, 0.0f);
    for (int i = 0; i < 4; ++i) {
        if (textured) glTexCoord2fv(QUAD_TEX[i]);
        glVertex3f(corners[i][0], y, corners[i][1]);
    }
    glEnd();
}

// A vertical quad over the edge from a to b (x, z), from y0 up to y1.
void drawSide(const float (&a)[2], const float (&b)[2], float y0, float y1, const float* normal,
              bool textured) {
    const float corners[4][3] = {
        {a[0], y0, a[1]}, {b[0], y0, b[1]}, {b[0], y1, b[1]}, {a[0], y1, a[1]}};
    glBegin(GL_POLYGON);
    glNormal3fv(normal);
    for (int i = 0; i < 4; ++i) {
        if (textured) glTexCoord2fv(QUAD_TEX[i]);
        glVertex3fv(corners[i]);
    }
    glEnd();
}

// The felt bed: one-unit cells, the felt texture repeated once per cell.
void drawBed(int w, int l) {
    glBegin(GL_TRIANGLES);
    glNormal3f(0.0f, 1.0f, 0.0f);
    for (int x0 = -w; x0 < w; ++x0) {
        for (int z0 = -l; z0 < l; ++z0) {
            const float x = float(x0), z = float(z0);
            glTexCoord2f(1, 1), glVertex3f(x, 0, z);
            glTexCoord2f(0, 1), glVertex3f(x, 0, z + 1);
            glTexCoord2f(0, 0), glVertex3f(x + 1, 0, z + 1);
            glTexCoord2f(1, 1), glVertex3f(x, 0, z);
            glTexCoord2f(0, 0), glVertex3f(x + 1, 0, z + 1);
            glTexCoord2f(1, 0), glVertex3f(x + 1, 0, z);
        }
    }
    glEnd();
}

constexpr double MIN_NOSE_LENGTH = 10.0; // world units; jaws and pocket backs are shorter

bool isNose(const TableFeature& f) {
    return f.kind == FeatureKind::Cushion && (f.b - f.a).length() >= MIN_NOSE_LENGTH;
}

bool samePlanPoint(const Vec3& p, const Vec3& q) { return p.x == q.x && p.z == q.z; }

// The jaw at the cushion end p: the short cushion line from there into the pocket.
const TableFeature& jawAt(const Vec3& p) {
    for (const TableFeature& f : tableFeatures)
        if (f.kind == FeatureKind::Cushion && !isNose(f) &&
            (samePlanPoint(f.a, p) || samePlanPoint(f.b, p)))
            return f;
    return tableFeatures[0]; // not reached: every cushion end has its jaw
}

// The end of the line that is not at p.
const Vec3& otherEnd(const TableFeature& line, const Vec3& p) {
    return samePlanPoint(line.a, p) ? line.b : line.a;
}

// How the felt reaches into a pocket's mouth, alike on both sides of it, measured along the
// bed's edge from the pocket towards the cushion end and back from the edge into the cushion.
struct MouthShape {
    double jawFaceDepth; // world units back: the jaw's face runs from the cushion end to there
    double rimAlong;     // world units along: the bend of the rim from the jaw's face to the edge
    double rimDepth;     // world units back: the same bend
};
constexpr MouthShape CORNER_MOUTH = {2.0, 0.75, 1.0};
constexpr MouthShape SIDE_MOUTH = {1.0, 1.5, 0.25};

// One side of a pocket's mouth on the plan.
struct MouthSide {
    const TableFeature* jaw; // its line in the collision list
    Vec3 cushionEnd;         // world units: where the nose meets the jaw
    Vec3 jawFaceEnd;         // world units: where the jaw's face meets the rim
    Vec3 edge;               // world units: where the bed's edge meets the pocket
    Vec3 rimBend;            // world units
    Vec3 across;             // unit: across the mouth from this side to the other
};

MouthSide mouthSide(const Vec3& end, const Vec3& otherSide, const Vec3& edge,
                    const MouthShape& shape) {
    const TableFeature& jaw = jawAt(end);
    const Vec3 intoPocket = otherEnd(jaw, end) - end;
    const Vec3 along = (end - edge).normalized();
    const Vec3 back = intoPocket - along * intoPocket.dot(along); // as deep as the jaw reaches
    const double depth = back.length();
    return {&jaw,
            end,
            end + intoPocket * (shape.jawFaceDepth / depth),
            edge,
            edge + along * shape.rimAlong + back * (shape.rimDepth / depth),
            (otherSide - end).normalized()};
}

// Calls draw with both sides of every pocket's mouth, the bed w by l units either side of the
// centre. The list names each pocket's two cushion ends just before the pocket.
template <class F> void forEachMouthSide(double w, double l, F draw) {
    for (int k = 0; k < tableFeatureCount; ++k) {
        const Vec3& centre = tableFeatures[k].a;
        if (tableFeatures[k].kind != FeatureKind::Pocket) continue;
        const Vec3 edge(std::clamp(centre.x, -w, w), centre.y, std::clamp(centre.z, -l, l));
        // A corner pocket lies beyond two of the bed's edges.
        const bool corner = edge.x != centre.x && edge.z != centre.z;
        const MouthShape& shape = corner ? CORNER_MOUTH : SIDE_MOUTH;
        const Vec3 &first = tableFeatures[k - 2].a, &second = tableFeatures[k - 1].a;
        draw(mouthSide(first, second, edge, shape));
        draw(mouthSide(second, first, edge, shape));
    }
}

PlanPoint planPoint(const Vec3& p, float s, float t) { return {float(p.x), float(p.z), s, t}; }

// The felt over one side of a mouth, from the cushion end along the bed's edge to the pocket,
// round the rim and back along the foot of the jaw's face: one tile of the felt texture.
void drawApronSide(const MouthSide& side) {
    const PlanPoint end = planPoint(side.cushionEnd, 1, 0), edge = planPoint(side.edge, 1, 1);
    const PlanPoint rim = planPoint(side.rimBend, 0, 1), jaw = planPoint(side.jawFaceEnd, 0, 0);
    const PlanPoint triangles[2][3] = {{end, rim, jaw}, {end, edge, rim}};
    // Counter-clockwise seen from above, to face up.
    const bool reverse = (rim.z - end.z) * (jaw.x - end.x) < (rim.x - end.x) * (jaw.z - end.z);
    for (const auto& triangle : triangles) {
        for (int k = 0; k < 3; ++k) {
            const PlanPoint& p = triangle[reverse ? 2 - k : k];
            glTexCoord2f(p.s, p.t);
            glVertex3f(p.x, 0.0f, p.z);
        }
    }
}

// The felt between the bed's edge and the jaws of the six pockets.
void drawAprons(float w, float l) {
    glBegin(GL_TRIANGLES);
    glNormal3f(0.0f, 1.0f, 0.0f);
    forEachMouthSide(w, l, drawApronSide);
    glEnd();
}

// The cushion tops are the collision features' own lines: each long cushion's nose, and the jaw
// into its first end and out of its second, which end 3 units back at the pockets.
void drawCushionTops() {
    for (const TableFeature& nose : tableFeatures) {
        if (!isNose(nose)) continue;
        const Vec3 &a = nose.a, &b = nose.b;
        const Vec3 &jawStart = otherEnd(jawAt(a), a), &jawEnd = otherEnd(jawAt(b), b);
        const float top[4][2] = {{float(b.x), float(b.z)},
                                 {float(a.x), float(a.z)},
                                 {float(jawStart.x), float(jawStart.z)},
                                 {float(jawEnd.x), float(jawEnd.z)}};
        drawTop(1.0f, top, true);
    }
}

// The wooden frame from the cushions' backs to the table's outer edge.
void drawRailTops(float w, float l) {
    const float b = CUSHION_DEPTH, e = FRAME_EDGE;
    const float rails[4][4][2] = {
        {{-w - b, -l - b}, {w + b, -l - b}, {w + e, -l - e}, {-w - e, -l - e}},
        {{-w - b, l + b}, {-w - b, -l - b}, {-w - e, -l - e}, {-w - e, l + e}},
        {{w + b, l + b}, {-w - b, l + b}, {-w - e, l + e}, {w + e, l + e}},
        {{w + b, -l - b}, {w + b, l + b}, {w + e, l + e}, {w + e, -l - e}},
    };
    for (const auto& rail : rails) drawTop(1.0f, rail, false);
}

// Felt and aprons marked FELT_STENCIL, cushion and rail tops RAIL_STENCIL: every fragment drawn
// writes its mark, whether or not it passes the depth test.
void drawFirstHalf(int width, int length) {
    const float w = float(width) / 2, l = float(length) / 2;
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, FELT_STENCIL, 0xffff);
    glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
    drawBed(width / 2, length / 2);
    drawAprons(w, l);
    glStencilFunc(GL_ALWAYS, RAIL_STENCIL, 0xffff);
    drawCushionTops();
    glDisable(GL_TEXTURE_2D);
    setColour(RAIL_BROWN);
    drawRailTops(w, l);
}

// A cushion's face over the stretch from p to q of its line. The list runs counter-clockwise
// round the table seen from above, so a face sent against the line's direction faces the play.
void drawCushionFace(const TableFeature& line, const Vec3& p, const Vec3& q, const Vec3& normal) {
    const bool alongLine = (q - p).dot(line.b - line.a) > 0.0;
    const Vec3 &from = alongLine ? q : p, &to = alongLine ? p : q;
    const float a[2] = {float(from.x), float(from.z)}, b[2] = {float(to.x), float(to.z)};
    const float n[3] = {float(normal.x), float(normal.y), float(normal.z)};
    drawSide(a, b, 0.0f, 1.0f, n, true);
}

// The noses, and the jaws from the cushion ends back to the rims. A jaw's face is shaded as
// facing straight across the mouth: for a corner pocket that is the jaw's own normal, and the
// side pockets' jaws keep the shade they have always had.
void drawCushionFaces(float w, float l) {
    for (const TableFeature& nose : tableFeatures)
        if (isNose(nose)) drawCushionFace(nose, nose.a, nose.b, nose.normal.normalized());
    forEachMouthSide(w, l, [](const MouthSide& side) {
        drawCushionFace(*side.jaw, side.cushionEnd, side.jawFaceEnd, side.across);
    });
}

// The outer sides, from the rail tops down to the underside.
void drawSkirt(float w, float l) {
    const float x = w + FRAME_EDGE, z = l + FRAME_EDGE;
    const float nearLeft[2] = {-x, z}, nearRight[2] = {x, z};
    const float farLeft[2] = {-x, -z}, farRight[2] = {x, -z};
    const float towardsFar[3] = {0, 0, -1}, towardsLeft[3] = {-1, 0, 0};
    const float towardsNear[3] = {0, 0, 1}, towardsRight[3] = {1, 0, 0};
    drawSide(farRight, farLeft, SKIRT_BOTTOM, 1.0f, towardsFar, false);
    drawSide(farLeft, nearLeft, SKIRT_BOTTOM, 1.0f, towardsLeft, false);
    drawSide(nearLeft, nearRight, SKIRT_BOTTOM, 1.0f, towardsNear, false);
    drawSide(nearRight, farRight, SKIRT_BOTTOM, 1.0f, towardsRight, false);
}

void drawUnderside(float w, float l) {
    const float x = w + FRAME_EDGE, z = l + FRAME_EDGE;
    glBegin(GL_POLYGON);
    glNormal3f(0.0f, -1.0f, 0.0f);
    glVertex3f(-x, SKIRT_BOTTOM, -z);
    glVertex3f(x, SKIRT_BOTTOM, -z);
    glVertex3f(x, SKIRT_BOTTOM, z);
    glVertex3f(-x, SKIRT_BOTTOM, z);
    glEnd();
}

// One tapered pedestal from a top rectangle under the table to a foot rectangle on the floor,
// each given as x0, x1, z0, z1. The faces' normals ignore the slant.
void drawLeg(const float (&top)[4], const float (&foot)[4]) {
    const float normals[4][3] = {{0, 0, -1}, {-1, 0, 0}, {0, 0, 1}, {1, 0, 0}};
    // Face f runs from ring corner f to corner f + 1: the -z side first, then -x, +z, +x.
    const auto ring = [](const float(&r)[4], int i) {
        const float corners[4][2] = {{r[1], r[2]}, {r[0], r[2]}, {r[0], r[3]}, {r[1], r[3]}};
        return std::array<float, 2>{corners[i % 4][0], corners[i % 4][1]};
    };
    for (int f = 0; f < 4; ++f) {
        const auto a = ring(top, f), b = ring(top, f + 1);
        const auto c = ring(foot, f + 1), d = ring(foot, f);
        glBegin(GL_POLYGON);
        glNormal3fv(normals[f]);
        glVertex3f(a[0], SKIRT_BOTTOM, a[1]);
        glVertex3f(b[0], SKIRT_BOTTOM, b[1]);
        glVertex3f(c[0], ROOM_FLOOR_Y, c[1]);
        glVertex3f(d[0], ROOM_FLOOR_Y, d[1]);
        glEnd();
    }
}

void drawLegs(float w, float l) {
    const float topX = w - 5, footX = w / 2;
    drawLeg({-topX, topX, -(l - 5), -5}, {-footX, footX, -l / 2 - 3, -l / 2 + 3});
    drawLeg({-topX, topX, 5, l - 5}, {-footX, footX, l / 2 - 3, l / 2 + 3});
}

void drawSecondHalf(int width, int length, bool lighting, bool texturing) {
    const float w = float(width) / 2, l = float(length) / 2;
    if (lighting) {
        setFrontAmbientDiffuse(texturing ? CUSHION_UNDER_TEXTURE : CUSHION_GREEN);
    } else {
        glColor4fv(CUSHION_GREEN);
    }
    drawCushionFaces(w, l);
    glDisable(GL_TEXTURE_2D);
    setColour(SKIRT_BROWN);
    glDisable(GL_CULL_FACE); // the skirt, underside and legs show from either side
    drawSkirt(w, l);
    setColour(LEG_BROWN);
    drawUnderside(w, l);
    drawLegs(w, l);
    glEnable(GL_CULL_FACE);
}

void drawInsetBackdrop(float w, float l) {
    const float x = w + FRAME_EDGE, z = l + FRAME_EDGE;
    glColor4fv(INSET_BACKDROP);
    glBegin(GL_POLYGON);
    glVertex3f(x, -1.0f, z);
    glVertex3f(x, -1.0f, -z);
    glVertex3f(-x, -1.0f, -z);
    glVertex3f(-x, -1.0f, z);
    glEnd();
}
} // namespace

void drawTable(const Table& table, unsigned int feltTexture, bool lighting, bool texturing,
               int passFlags) {
    const int width = table.width, length = table.length;
    const bool firstHalf = passFlags & PASS_STENCIL_MARK;
    if (passFlags & PASS_INSET_VIEW) {
        if (!firstHalf) return; // the overhead inset shows the tops only
        drawInsetBackdrop(float(width) / 2, float(length) / 2);
    }
    if (lighting) {
        enableLitMaterial(texturing ? FELT_UNDER_TEXTURE : FELT_DIFFUSE, FELT_SPECULAR,
                          FELT_SHININESS);
    }
    if (texturing) enableTexture(feltTexture, lighting);
    glColor4fv(FELT_DIFFUSE);
    if (firstHalf) {
        drawFirstHalf(width, length);
        glDisable(GL_STENCIL_TEST);
    } else {
        drawSecondHalf(width, length, lighting, texturing);
    }
    glDisable(GL_LIGHTING);
    disableTexture();
}
