// OBJ and MTL reading: face forms, fans, groups, materials, and the files the reader refuses; and
// model processing: centring and scaling, facet normals, crease-aware vertex normals.
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>

#include "assets/glm.h"
#include "assets_test_util.h"

namespace {
using Model = std::unique_ptr<ObjModel, decltype(&glmDelete)>;
using Indices = std::vector<unsigned>;

Model load(const std::string& text, ObjReadError* error) {
    return Model(glmLoadOBJ(writeAssetFile("model.obj", text).c_str(), error), &glmDelete);
}

const std::string SIX_VERTICES = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv -1 1 0\nv -1 0 0\n";
const std::string THREE_EACH = "vt 0 0\nvt 1 0\nvt 1 1\nvn 0 0 1\nvn 0 1 0\nvn 1 0 0\n";

// Triangles given as three vertex indexes each, one after another.
ObjModel makeModel(const std::vector<std::array<float, 3>>& points,
                   const std::vector<unsigned>& corners) {
    ObjModel m;
    m.vertexCount = unsigned(points.size());
    m.vertices.assign(3, 0.0f);
    for (const auto& p : points) m.vertices.insert(m.vertices.end(), p.begin(), p.end());
    m.triangleCount = unsigned(corners.size() / 3);
    for (size_t i = 0; i < corners.size(); i += 3)
        m.triangles.push_back({{corners[i], corners[i + 1], corners[i + 2]}});
    return m;
}

// The unit cube, its 12 triangles wound counter-clockwise seen from outside.
ObjModel cube() {
    return makeModel(
        {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}},
        {1, 3, 2, 1, 4, 3, 5, 6, 7, 5, 7, 8, 1, 2, 6, 1, 6, 5,
         4, 7, 3, 4, 8, 7, 1, 5, 8, 1, 8, 4, 2, 3, 7, 2, 7, 6});
}

std::vector<float> normalAt(const ObjModel& m, unsigned triangle, int corner) {
    const float* n = &m.normals[3 * m.triangles[triangle].normalIndex[corner]];
    return {n[0], n[1], n[2]};
}
} // namespace

TEST(ObjReader, ReadsFacesGroupsAndMaterials) {
    writeAssetFile("two.mtl", "# two materials\r\nnewmtl red\r\nKd 1 0 0\r\nNs 500\r\nNi 1.45\r\n"
                              "newmtl plain\nKa 0.1 0.2 0.3\nKs 0.5 0.5 0.5\nillum 2\n");
    // A skipped line is skipped whole, however long: its tail at column 127 is not read.
    const std::string longComment = "# " + std::string(125, '-') + " vp f 9 9 9\n";
    ObjReadError error;
    testing::internal::CaptureStdout();
    const Model m =
        load(longComment + SIX_VERTICES + THREE_EACH +
                 "mtllib two.mtl\nf 1 2 3 4 5\ng body\nusemtl red\n"
                 "f 1//1 2//2 3//3\ng other\nf 1/3 2/2 3/1\nusemtl nothing\ng body\nusemtl red\n"
                 "f 1/1/3 2/2/2\n 3/3/1 4/1/1\ng next\n",
             &error);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "glmFindMaterial():  can't find material \"nothing\".\n");
    ASSERT_TRUE(m) << error.message;
    // The vector arrays start at index 1, as the file counts them.
    EXPECT_EQ((Indices{m->vertexCount, m->texCoordCount, m->normalCount, m->triangleCount,
                       unsigned(m->vertices.size()), unsigned(m->texCoords.size()),
                       unsigned(m->normals.size())}),
              (Indices{6, 3, 3, 7, 21, 8, 12}));
    EXPECT_EQ(m->vertices[3 * 5], -1.0f);
    EXPECT_EQ(m->normals[3 * 3], 1.0f);
    EXPECT_EQ(m->texCoords[2 * 3 + 1], 1.0f);
    // The pentagon is a fan around its first vertex; each face form sets only its own indices; a
    // face may run on over a line break and ends at the first token not of its form.
    const Indices expected[][2] = {{{0}, {1, 2, 3, 0, 0, 0, 0, 0, 0}},
                                   {{2}, {1, 4, 5, 0, 0, 0, 0, 0, 0}},
                                   {{3}, {1, 2, 3, 0, 0, 0, 1, 2, 3}},
                                   {{4}, {1, 2, 3, 3, 2, 1, 0, 0, 0}},
                                   {{6}, {1, 3, 4, 1, 3, 1, 3, 1, 1}}}; // vertex, texture, normal
    for (const auto& e : expected) {
        const ObjTriangle& t = m->triangles[e[0][0]];
        EXPECT_EQ((Indices{t.vertexIndex[0], t.vertexIndex[1], t.vertexIndex[2], t.texCoordIndex[0],
                           t.texCoordIndex[1], t.texCoordIndex[2], t.normalIndex[0],
                           t.normalIndex[1], t.normalIndex[2]}),
                  e[1])
            << e[0][0];
    }
    // Group names keep their leading blank; "default" keeps the faces before any group.
    ASSERT_TRUE(m->groupCount == 4 && glmLookupGroup(m.get(), "body") == nullptr);
    EXPECT_EQ(glmLookupGroup(m.get(), " body")->triangleIndices, (Indices{3, 5, 6}));
    EXPECT_EQ(glmLookupGroup(m.get(), "default")->triangleIndices, (Indices{0, 1, 2}));
    EXPECT_EQ((Indices{glmLookupGroup(m.get(), " body")->material,
                       glmLookupGroup(m.get(), " other")->material,
                       glmLookupGroup(m.get(), " next")->material}),
              (Indices{1, 0, 1}));
    ASSERT_EQ(m->materialCount, 3u);
    const ObjMaterial &red = m->materials[1], &plain = m->materials[2];
    EXPECT_EQ(m->materials[0].name + " " + red.name + " " + plain.name, "default red plain");
    EXPECT_EQ((std::vector<float>{red.diffuse[0], red.diffuse[1], red.diffuse[3], red.shininess}),
              (std::vector<float>{1, 0, 1, 64})); // shininess 500 of 1000 on GL's 0..128
    EXPECT_EQ((std::vector<float>{plain.diffuse[0], plain.ambient[2], plain.specular[1],
                                  plain.shininess}),
              (std::vector<float>{0.8f, 0.3f, 0.5f, 65}));
}

// The model keeps the library it names last, however often and in whatever order it names them;
// of two words after newmtl, the second is the name.
TEST(ObjReader, KeepsTheLastLibraryNamed) {
    writeAssetFile("one.mtl", "newmtl red\n");
    writeAssetFile("two.mtl", "newmtl blue\nnewmtl dark green\n");
    const struct {
        const char* text;
        const char* names;
    } cases[] = {
        {"mtllib one.mtl\nmtllib two.mtl\n", "default blue green"},
        {"mtllib two.mtl\nmtllib one.mtl\nmtllib one.mtl\n", "default red"},
        {"mtllib one.mtl\nmtllib two.mtl\nmtllib one.mtl\n", "default red"},
    };
    for (const auto& c : cases) {
        ObjReadError error;
        const Model m = load(c.text, &error);
        ASSERT_TRUE(m) << error.message;
        std::string names;
        for (const ObjMaterial& material : m->materials)
            names += (names.empty() ? "" : " ") + material.name;
        EXPECT_EQ(names, c.names) << c.text;
    }
}

// The reader takes a file in blocks of BUFSIZ bytes: numbers, names, tokens and the limits on
// them hold across the end of a block as anywhere else.
TEST(ObjReader, ReadsAcrossItsBlocks) {
    const std::string name(126, 'n'); // after "g", a line of 127 characters: the most it takes
    for (size_t start = BUFSIZ - 140; start <= BUFSIZ; ++start) {
        SCOPED_TRACE(start);
        const std::string padding = "#" + std::string(start - 2, ' ') + "\n"; // then at start
        ObjReadError error;
        const Model m =
            load(padding + "v 1234.5 6 7\ng " + name + "\n" + std::string(127, 'x') + "\n", &error);
        ASSERT_TRUE(m) << error.message;
        EXPECT_EQ((std::vector<float>{m->vertices[3], m->vertices[5]}),
                  (std::vector<float>{1234.5f, 7}));
        EXPECT_NE(glmLookupGroup(m.get(), (" " + name).c_str()), nullptr);
        EXPECT_FALSE(load(padding + std::string(128, 'x') + "\n", &error));
        EXPECT_NE(error.message.find("token longer than 127 characters"), std::string::npos);
        EXPECT_FALSE(load(padding + "g " + name + "x\n", &error));
        EXPECT_NE(error.message.find("line longer than 127 characters"), std::string::npos);
    }
}

// The game's own reader ends the process with status 1 where the loader reports the refusal.
TEST(ObjReaderDeathTest, RefusesFilesItCannotStoreSafely) {
    const std::string longToken(128, 'x');
    const struct {
        std::string text, problem;
        bool onStandardOutput;
    } cases[] = {
        {SIX_VERTICES + "f 0 1 2\n", "face index out of range: \"0\"", false},
        {SIX_VERTICES + "f -1 -2 -3\n", "face index out of range: \"-1\"", false},
        {SIX_VERTICES + "f 1 2 7\n", "face index out of range: \"7\"", false},
        {SIX_VERTICES + THREE_EACH + "f 1/1 2/2 3/4\n", "out of range: \"3/4\"", false},
        {SIX_VERTICES + THREE_EACH + "f 1//1 2//4 3//1\n", "out of range: \"2//4\"", false},
        {SIX_VERTICES + "f 1 2\nf 1 2 3\n", "face with fewer than 3 vertices", false},
        {SIX_VERTICES + longToken + "\n", "token longer than 127 characters", false},
        {"g " + longToken + "\n", "line longer than 127 characters", false},
        {"mtllib absent.mtl\n",
         "glmReadMTL() failed: can't open material file \"" + assetTempPath("absent.mtl"), false},
        {"vn 0 0 1\nv 0 0 0\nvp 1 2\n", "glmFirstPass(): Unknown token \"vp\".\n", true},
    };
    for (const auto& c : cases) {
        ObjReadError error;
        EXPECT_FALSE(load(c.text, &error)) << c.problem;
        EXPECT_NE(error.message.find(c.problem), std::string::npos)
            << c.problem << ": " << error.message;
        EXPECT_EQ(error.message.find(assetTempPath("")) == std::string::npos, c.onStandardOutput)
            << c.problem;
        EXPECT_EQ(error.onStandardOutput, c.onStandardOutput) << c.problem;
    }
    const std::string missing = assetTempPath("absent.obj");
    EXPECT_EXIT(glmReadOBJ(missing.c_str()), testing::ExitedWithCode(1),
                "can't open data file \"" + missing + "\"");
    EXPECT_EXIT(glmReadOBJ(writeAssetFile("bad.obj", SIX_VERTICES + "f 1 2 9\n").c_str()),
                testing::ExitedWithCode(1), "face index out of range");
}

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
    ObjModel m = makeModel({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}}, {1, 2, 3, 1, 1, 2});
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
