// Model processing: centring and scaling, facet normals, crease-aware vertex normals.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "assets/glm.h"

namespace {

ObjModel makeModel(const std::vector<std::array<float, 3>>& points,
                   const std::vector<std::array<unsigned int, 3>>& faces) {
    ObjModel m;
    m.vertexCount = unsigned(points.size());
    m.vertices.assign(3, 0.0f);
    for (const auto& p : points) m.vertices.insert(m.vertices.end(), p.begin(), p.end());
    m.triangleCount = unsigned(faces.size());
    for (const auto& f : faces) {
        ObjTriangle t;
        for (int k = 0; k < 3; ++k) t.vertexIndex[k] = f[size_t(k)];
        m.triangles.push_back(t);
    }
    return m;
}

// Unit cube, 12 triangles wound counter-clockwise seen from outside.
ObjModel cube() {
    return makeModel({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}},
                     {{1, 3, 2}, {1, 4, 3}, {5, 6, 7}, {5, 7, 8}, {1, 2, 6}, {1, 6, 5},
                      {4, 7, 3}, {4, 8, 7}, {1, 5, 8}, {1, 8, 4}, {2, 3, 7}, {2, 7, 6}});
}

const float* normalAt(const ObjModel& m, unsigned int triangle, int corner) {
    return &m.normals[3 * size_t(m.triangles[triangle].normalIndex[corner])];
}
const float* facetOf(const ObjModel& m, unsigned int triangle) {
    return &m.facetNormals[3 * size_t(m.triangles[triangle].facetIndex)];
}

} // namespace

TEST(ModelProcessing, CentresOnTheBoundsAndScalesTheLargestWidthToTwo) {
    ObjModel m = makeModel({{1, -1, -0.5f}, {3, 1, 0.5f}, {2, 0, 0}}, {});
    EXPECT_FLOAT_EQ(glmCenterAndScale(&m), 0.5f);
    // x: width |3| + |1| = 4, centre 2.
    EXPECT_FLOAT_EQ(m.vertices[3], -0.5f);
    EXPECT_FLOAT_EQ(m.vertices[4], -0.5f);
    EXPECT_FLOAT_EQ(m.vertices[5], -0.25f);
    EXPECT_FLOAT_EQ(m.vertices[6], 0.5f);
    EXPECT_FLOAT_EQ(m.vertices[9], 0.0f);
}

TEST(ModelProcessing, ModelsWithoutExtentOrContentStayFinite) {
    ObjModel empty;
    EXPECT_FLOAT_EQ(glmCenterAndScale(&empty), 1.0f);
    glmBuildFacetNormals(&empty);
    glmVertexNormals(&empty, 90.0f);
    EXPECT_EQ(empty.normalCount, 0u);

    ObjModel point = makeModel({{0, 0, 0}, {0, 0, 0}}, {});
    EXPECT_FLOAT_EQ(glmCenterAndScale(&point), 1.0f);
    EXPECT_FLOAT_EQ(point.vertices[3], 0.0f);
    EXPECT_FLOAT_EQ(point.vertices[6], 0.0f);
}

TEST(ModelProcessing, SingleTriangleGetsItsFacetNormalAtEveryCorner) {
    ObjModel m = makeModel({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 2, 3}});
    glmBuildFacetNormals(&m);
    EXPECT_EQ(m.triangles[0].facetIndex, 1u);
    EXPECT_FLOAT_EQ(m.facetNormals[5], 1.0f);
    glmVertexNormals(&m, 90.0f);
    ASSERT_EQ(m.normalCount, 3u);
    ASSERT_EQ(m.normals.size(), 12u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_FLOAT_EQ(normalAt(m, 0, k)[0], 0.0f);
        EXPECT_FLOAT_EQ(normalAt(m, 0, k)[2], 1.0f);
    }
}

// Faces meeting at exactly 90 degrees do not pass the crease test, so the cube stays faceted.
TEST(ModelProcessing, CubeWithNinetyDegreeCreaseStaysFaceted) {
    ObjModel m = cube();
    glmBuildFacetNormals(&m);
    glmVertexNormals(&m, 90.0f);
    for (unsigned int t = 0; t < m.triangleCount; ++t)
        for (int k = 0; k < 3; ++k)
            for (int axis = 0; axis < 3; ++axis)
                EXPECT_NEAR(normalAt(m, t, k)[axis], facetOf(m, t)[axis], 1e-6) << t << " " << k;
}

TEST(ModelProcessing, WideCreaseAngleGivesOneNormalPerVertex) {
    ObjModel m = cube();
    glmBuildFacetNormals(&m);
    glmVertexNormals(&m, 180.0f);
    EXPECT_EQ(m.normalCount, 8u);
    const float* corner = normalAt(m, 0, 0); // vertex 1 at the origin: three faces averaged
    const float third = float(-1.0 / std::sqrt(3.0));
    EXPECT_NEAR(corner[0], third, 1e-6);
    EXPECT_NEAR(corner[1], third, 1e-6);
    EXPECT_NEAR(corner[2], third, 1e-6);
}

TEST(ModelProcessing, DegenerateTrianglesGetZeroNormalsAndEveryCornerAValidIndex) {
    // Triangle 2 uses vertex 1 twice and has no area.
    ObjModel m = makeModel({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 2, 3}, {1, 1, 2}});
    glmBuildFacetNormals(&m);
    for (float v : m.facetNormals) EXPECT_FALSE(std::isnan(v));
    EXPECT_EQ(facetOf(m, 1)[0], 0.0f);
    EXPECT_EQ(facetOf(m, 1)[2], 0.0f);
    glmVertexNormals(&m, 90.0f);
    for (const ObjTriangle& t : m.triangles)
        for (unsigned int index : t.normalIndex) {
            EXPECT_GE(index, 1u);
            EXPECT_LE(index, m.normalCount);
        }
    for (float v : m.normals) EXPECT_FALSE(std::isnan(v));
}

TEST(ModelProcessing, VertexWithoutTriangleIsReportedOnce) {
    ObjModel m = makeModel({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}}, {{1, 2, 3}});
    glmBuildFacetNormals(&m);
    testing::internal::CaptureStderr();
    glmVertexNormals(&m, 90.0f);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "glmVertexNormals(): vertex w/o a triangle\n");
    EXPECT_EQ(m.normalCount, 3u);
}

TEST(ModelProcessing, VectorHelpers) {
    EXPECT_EQ(glmAbsolute(-2.5f), 2.5f);
    EXPECT_EQ(glmLarger(1.0f, 3.0f), 3.0f);
    const float x[3] = {1, 0, 0}, y[3] = {0, 1, 0};
    float n[3];
    glmCrossProduct(x, y, n);
    EXPECT_EQ(n[2], 1.0f);
    EXPECT_EQ(glmDotProduct(x, y), 0.0f);
    float zero[3] = {0, 0, 0};
    glmNormalizeVector(zero);
    EXPECT_EQ(zero[0], 0.0f);
}
