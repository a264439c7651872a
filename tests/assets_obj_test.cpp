// OBJ and MTL reading: face forms, fans, groups, materials, and the files the reader refuses.
#include <gtest/gtest.h>

#include <memory>

#include "assets/glm.h"
#include "assets_test_util.h"

namespace {

using Model = std::unique_ptr<ObjModel, decltype(&glmDelete)>;

Model load(const std::string& name, const std::string& text, ObjReadError* error = nullptr) {
    ObjReadError scratch;
    const std::string path = writeAssetFile(name, text);
    return Model(glmLoadOBJ(path.c_str(), error ? error : &scratch), &glmDelete);
}

const std::string SIX_VERTICES = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv -1 1 0\nv -1 0 0\n";
const std::string THREE_EACH = "vt 0 0\nvt 1 0\nvt 1 1\nvn 0 0 1\nvn 0 1 0\nvn 1 0 0\n";

std::vector<unsigned int> corners(const ObjTriangle& t, const unsigned int (ObjTriangle::*field)[3]) {
    return {(t.*field)[0], (t.*field)[1], (t.*field)[2]};
}

} // namespace

TEST(ObjReader, SplitsPolygonsIntoFansAroundTheFirstVertex) {
    // A skipped line is skipped whole, however long: its tail is not read as tokens.
    const std::string longComment = "# " + std::string(125, '-') + " vp f 9 9 9\n"; // tail at 127
    Model m = load("fan.obj", longComment + SIX_VERTICES + "f 1 2 3 4 5\n");
    ASSERT_TRUE(m);
    ASSERT_EQ(m->triangleCount, 3u);
    using V = std::vector<unsigned int>;
    EXPECT_EQ(corners(m->triangles[0], &ObjTriangle::vertexIndex), (V{1, 2, 3}));
    EXPECT_EQ(corners(m->triangles[1], &ObjTriangle::vertexIndex), (V{1, 3, 4}));
    EXPECT_EQ(corners(m->triangles[2], &ObjTriangle::vertexIndex), (V{1, 4, 5}));
    EXPECT_EQ(m->vertexCount, 6u);
    EXPECT_EQ(m->vertices.size(), 21u);
    EXPECT_FLOAT_EQ(m->vertices[3 * 5 + 0], -1.0f);
    EXPECT_TRUE(m->normals.empty());
    EXPECT_TRUE(m->texCoords.empty());
}

TEST(ObjReader, EachFaceFormSetsItsOwnIndices) {
    using V = std::vector<unsigned int>;
    const std::string head = SIX_VERTICES + THREE_EACH;
    Model vn = load("vn.obj", head + "f 1//1 2//2 3//3\n");
    ASSERT_TRUE(vn);
    EXPECT_EQ(corners(vn->triangles[0], &ObjTriangle::normalIndex), (V{1, 2, 3}));
    EXPECT_EQ(corners(vn->triangles[0], &ObjTriangle::texCoordIndex), (V{0, 0, 0}));

    Model vt = load("vt.obj", head + "f 1/3 2/2 3/1\n");
    ASSERT_TRUE(vt);
    EXPECT_EQ(corners(vt->triangles[0], &ObjTriangle::texCoordIndex), (V{3, 2, 1}));
    EXPECT_EQ(corners(vt->triangles[0], &ObjTriangle::normalIndex), (V{0, 0, 0}));

    // A face may run on over line breaks; it ends at the first token not of its form.
    Model vtn = load("vtn.obj", head + "f 1/1/3 2/2/2\n 3/3/1 4/1/1\ng next\n");
    ASSERT_TRUE(vtn);
    ASSERT_EQ(vtn->triangleCount, 2u);
    EXPECT_EQ(corners(vtn->triangles[1], &ObjTriangle::vertexIndex), (V{1, 3, 4}));
    EXPECT_EQ(corners(vtn->triangles[1], &ObjTriangle::texCoordIndex), (V{1, 3, 1}));
    EXPECT_EQ(corners(vtn->triangles[1], &ObjTriangle::normalIndex), (V{3, 1, 1}));
}

TEST(ObjReader, GroupsCollectTheirTrianglesAndDefaultKeepsTheRest) {
    Model m = load("groups.obj", SIX_VERTICES + "f 1 2 3\ng body\nf 1 3 4\ng other\nf 1 4 5\ng body\nf 1 5 6\n");
    ASSERT_TRUE(m);
    ASSERT_EQ(m->groupCount, 3u);
    const ObjGroup* body = glmLookupGroup(m.get(), " body"); // the name keeps its leading blank
    const ObjGroup* fallback = glmLookupGroup(m.get(), "default");
    ASSERT_NE(body, nullptr);
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(glmLookupGroup(m.get(), "body"), nullptr);
    EXPECT_EQ(body->triangleIndices, (std::vector<unsigned int>{1, 3}));
    EXPECT_EQ(fallback->triangleIndices, (std::vector<unsigned int>{0}));
    EXPECT_EQ(m->groups.front().name, "default");
}

TEST(ObjReader, ReadsTheMaterialLibraryBesideTheModel) {
    writeAssetFile("two.mtl", "# two materials\r\nnewmtl red\r\nKd 1 0 0\r\nNs 500\r\nNi 1.45\r\n"
                              "newmtl plain\nKa 0.1 0.2 0.3\nKs 0.5 0.5 0.5\nillum 2\n");
    testing::internal::CaptureStdout();
    Model m = load("materials.obj", SIX_VERTICES + "mtllib two.mtl\nusemtl red\nf 1 2 3\ng g2\nusemtl nothing\nf 1 3 4\n");
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(m);
    EXPECT_EQ(m->materialLibrary, "two.mtl");
    ASSERT_EQ(m->materialCount, 3u);
    EXPECT_EQ(m->materials[0].name, "default");
    EXPECT_EQ(m->materials[1].name, "red");
    EXPECT_EQ(m->materials[2].name, "plain");
    EXPECT_FLOAT_EQ(m->materials[1].diffuse[0], 1.0f);
    EXPECT_FLOAT_EQ(m->materials[1].diffuse[1], 0.0f);
    EXPECT_FLOAT_EQ(m->materials[1].diffuse[3], 1.0f);
    EXPECT_FLOAT_EQ(m->materials[1].shininess, 64.0f); // 500 of 1000, on GL's 0..128; Ni leaves it
    EXPECT_FLOAT_EQ(m->materials[2].diffuse[0], 0.8f);
    EXPECT_FLOAT_EQ(m->materials[2].ambient[2], 0.3f);
    EXPECT_FLOAT_EQ(m->materials[2].shininess, 65.0f);
    EXPECT_EQ(glmLookupGroup(m.get(), "default")->material, 1u);
    EXPECT_EQ(glmLookupGroup(m.get(), " g2")->material, 0u);
    EXPECT_EQ(out, "glmFindMaterial():  can't find material \"nothing\".\n");
}

TEST(ObjReader, WithoutLibraryEveryMaterialIsUnknown) {
    testing::internal::CaptureStdout();
    Model m = load("nolib.obj", SIX_VERTICES + "usemtl red\nf 1 2 3\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "glmFindMaterial():  can't find material \"red\".\n");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->materialCount, 0u);
    EXPECT_TRUE(m->materials.empty());
}

TEST(ObjReader, DirectoryOfKeepsEverythingUpToTheLastSlash) {
    EXPECT_EQ(glmDirectoryOf("Data/ball.obj"), "Data/");
    EXPECT_EQ(glmDirectoryOf("/a/b/c.obj"), "/a/b/");
    EXPECT_EQ(glmDirectoryOf("ball.obj"), "");
}

TEST(ObjReader, RefusesFilesItCannotStoreSafely) {
    struct Case {
        const char* what;
        std::string text;
        const char* problem;
    };
    const std::string longToken(128, 'x');
    const std::vector<Case> cases = {
        {"index zero", SIX_VERTICES + "f 0 1 2\n", "face index out of range: \"0\""},
        {"negative index", SIX_VERTICES + "f -1 -2 -3\n", "face index out of range: \"-1\""},
        {"vertex beyond the count", SIX_VERTICES + "f 1 2 7\n", "face index out of range: \"7\""},
        {"texture beyond the count", SIX_VERTICES + THREE_EACH + "f 1/1 2/2 3/4\n", "out of range: \"3/4\""},
        {"normal beyond the count", SIX_VERTICES + THREE_EACH + "f 1//1 2//4 3//1\n", "out of range: \"2//4\""},
        {"face of two vertices", SIX_VERTICES + "f 1 2\nf 1 2 3\n", "face with fewer than 3 vertices"},
        {"face of no vertices", SIX_VERTICES + "f\n", "face with fewer than 3 vertices"},
        {"token of 128 characters", SIX_VERTICES + longToken + "\n", "token longer than 127 characters"},
        {"group name of 128 characters", "g " + longToken + "\n", "line longer than 127 characters"},
    };
    for (const Case& c : cases) {
        ObjReadError error;
        const std::string path = assetTempPath("refused.obj");
        EXPECT_FALSE(load("refused.obj", c.text, &error)) << c.what;
        EXPECT_NE(error.message.find(c.problem), std::string::npos) << c.what << ": " << error.message;
        EXPECT_NE(error.message.find(path), std::string::npos) << c.what << ": " << error.message;
        EXPECT_FALSE(error.onStandardOutput) << c.what;
    }
}

TEST(ObjReader, UnknownVertexTokenIsReportedOnStandardOutput) {
    ObjReadError error;
    EXPECT_FALSE(load("vp.obj", "vn 0 0 1\nv 0 0 0\nvp 1 2\n", &error));
    EXPECT_EQ(error.message, "glmFirstPass(): Unknown token \"vp\".\n");
    EXPECT_TRUE(error.onStandardOutput);
}

TEST(ObjReaderDeathTest, FatalProblemsEndTheProcessWithStatusOne) {
    const std::string missing = assetTempPath("absent.obj");
    EXPECT_EXIT(glmReadOBJ(missing.c_str()), testing::ExitedWithCode(1),
                "glmReadOBJ\\(\\) failed: can't open data file \"" + missing + "\"");
    const std::string noLibrary = writeAssetFile("nolibrary.obj", "mtllib absent.mtl\n");
    EXPECT_EXIT(glmReadOBJ(noLibrary.c_str()), testing::ExitedWithCode(1),
                "glmReadMTL\\(\\) failed: can't open material file \"" + assetTempPath("absent.mtl") + "\"");
    const std::string badIndex = writeAssetFile("badindex.obj", SIX_VERTICES + "f 1 2 9\n");
    EXPECT_EXIT(glmReadOBJ(badIndex.c_str()), testing::ExitedWithCode(1), "face index out of range");
    const std::string vp = writeAssetFile("vpdeath.obj", "vp 1\n");
    EXPECT_EXIT(glmReadOBJ(vp.c_str()), testing::ExitedWithCode(1), "");
}
