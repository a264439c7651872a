// Model processing: centring and scaling, facet normals, crease-aware vertex normals.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "assets/glm.h"

namespace {
ObjModel makeModel(const std::vector<std::array<float, 3>>& points,
                   const std::vector<std::array<unsigned, 3>>& faces) {
    ObjModel m;
    m.vertexCount = unsigned(points.size());
    m.vertices.assign(3, 0.0f);
    for (const auto& p : points) m.vertices.insert(m.vertices.end(), p.begin(), p.end());
    m.triangleCount = unsigned(faces.size());
    for (const auto& f : faces) m.triangles.push_back({{f[0], f[1], f[2]}});
    return m;
}

// The unit cube, its 12 triangles wound counter-clockwise seen from outside.
ObjModel cube() {
    return makeModel(
        {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}},
        {{1, 3, 2},
         {1, 4, 3},
         {5, 6, 7},
         {5, 7, 8},
         {1, 2, 6},
         {1, 6, 5},
         {4, 7, 3},
         {4, 8, 7},
         {1, 5, 8},
         {1, 8, 4},
         {2, 3, 7},
         {2, 7, 6}});
}

std::vector<float> normalAt(const ObjModel& m, unsigned triangle, int corner) {
    const float* n = &m.normals[3 * m.triangles[triangle].normalIndex[corner]];
    return {n[0], n[1], n[2]};
}
} // namespace

TEST(ModelProcessing, CentresOnTheBoundsAndScalesTheLargestWidthToTwo) {
    ObjModel m = makeModel({{1, -1, -0.5f}, {3, 1, 0.5f}, {2, 0, 0}}, {}),
             point = makeModel({{0, 0, 0}}, {}), empty;
    EXPECT_EQ(glmCenterAndScale(&m), 0.5f); // x: |3| + |1| = 4 wide, centred on 2
    EXPECT_EQ(m.vertices,
              (std::vector<float>{0, 0, 0, -0.5f, -0.5f, -0.25f, 0.5f, 0.5f, 0.25f, 0, 0, 0}));
    EXPECT_EQ(glmCenterAndScale(&point) + glmCenterAndScale(&empty),
              2.0f); // nothing to scale: factor 1
}

// Faces meeting at exactly 90 degrees do not pass the crease test: the cube stays faceted.
TEST(ModelProcessing, CreaseAngleDecidesWhichFacesShareAVertexNormal) {
    ObjModel faceted = cube(), smooth = cube();
    glmBuildFacetNormals(&faceted);
    glmVertexNormals(&faceted, 90.0f);
    for (unsigned t = 0; t < 12; ++t) {
        const float* facet = &faceted.facetNormals[3 * faceted.triangles[t].facetIndex];
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(normalAt(faceted, t, k), std::vector<float>(facet, facet + 3)) << t;
    }
    EXPECT_EQ(normalAt(faceted, 0, 0), (std::vector<float>{0, 0, -1})); // the face on z = 0
    glmVertexNormals(&smooth, 180.0f); // builds the facet normals itself
    EXPECT_EQ(smooth.normalCount, 8u);
    for (const float v : normalAt(smooth, 0, 0))
        EXPECT_NEAR(v, -0.5773503f, 1e-6); // the corner at the origin
}

TEST(ModelProcessing, DegenerateTrianglesAndLoneVerticesStayFinite) {
    // Triangle 2 uses vertex 1 twice and has no area; vertex 4 belongs to no triangle.
    ObjModel m = makeModel({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}}, {{1, 2, 3}, {1, 1, 2}});
    glmBuildFacetNormals(&m);
    testing::internal::CaptureStderr();
    glmVertexNormals(&m, 90.0f);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "glmVertexNormals(): vertex w/o a triangle\n");
    EXPECT_EQ(m.facetNormals, (std::vector<float>{0, 0, 0, 0, 0, 1, 0, 0, 0}));
    for (const float v : m.normals) EXPECT_FALSE(std::isnan(v));
    for (const ObjTriangle& t : m.triangles)
        for (unsigned index : t.normalIndex)
            EXPECT_TRUE(index >= 1 && index <= m.normalCount) << index;
}
