// Wavefront OBJ/MTL model records and the glm operations that read, prepare and draw them.
#pragma once

#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// Render mode bits of glmDraw, combinable.
constexpr unsigned int RENDER_FLAT = 1;      // one facet normal per triangle
constexpr unsigned int RENDER_SMOOTH = 2;    // one vertex normal per corner
constexpr unsigned int RENDER_TEXTURE = 4;   // one texture coordinate per corner
constexpr unsigned int RENDER_COLOR = 8;     // group material's diffuse as the current colour
constexpr unsigned int RENDER_MATERIAL = 16; // group material through glMaterial

struct ObjMaterial {
    std::string name;
    float diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    float specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float shininess = 65.0f; // GL scale 0..128
};

// Indices are 1-based as in the file; those the face form does not carry stay 0.
struct ObjTriangle {
    unsigned int vertexIndex[3] = {};
    unsigned int normalIndex[3] = {};
    unsigned int texCoordIndex[3] = {};
    unsigned int facetIndex = 0;
};

struct ObjGroup {
    std::string name;
    unsigned int triangleCount = 0;
    std::vector<unsigned int> triangleIndices; // indices into ObjModel::triangles
    unsigned int material = 0;                 // index into ObjModel::materials
};

// Vector arrays are 1-based: entry 0 is unused so that an OBJ index addresses its entry
// directly. An array the file does not provide is empty.
struct ObjModel {
    std::string path;
    std::string materialLibrary; // empty when the file names none

    unsigned int vertexCount = 0;
    std::vector<float> vertices; // 3 x (vertexCount + 1)
    unsigned int normalCount = 0;
    std::vector<float> normals; // 3 x (normalCount + 1), or empty
    unsigned int texCoordCount = 0;
    std::vector<float> texCoords; // 2 x (texCoordCount + 1), or empty
    unsigned int facetNormalCount = 0;
    std::vector<float> facetNormals; // 3 x (facetNormalCount + 1), or empty until built

    unsigned int triangleCount = 0;
    std::vector<ObjTriangle> triangles; // 0-based

    unsigned int materialCount = 0;     // library materials + "default"; 0 without a library
    std::vector<ObjMaterial> materials; // entry 0 is "default"

    unsigned int groupCount = 0;
    std::deque<ObjGroup> groups; // oldest first ("default" is groups[0]); drawn newest first
};

// Why a read failed: the whole message line, and the stream it belongs on.
struct ObjReadError {
    std::string message;
    bool onStandardOutput = false; // unknown tokens go to stdout, everything else to stderr
};

// Reads an OBJ file (and the MTL library it names) in two passes. On any fatal problem it
// prints the reader's message and ends the process with status 1; it never returns null.
ObjModel* glmReadOBJ(const char* fileName);
// The same without ending the process: returns null and fills error instead.
ObjModel* glmLoadOBJ(const char* fileName, ObjReadError* error);
// Opens a file the reader reads (the model or a library) for reading, or returns null when it
// cannot; the reader closes it.
using ObjFileOpener = std::function<std::FILE*(const std::string& path)>;
// The same reading the model and its library through open instead of from the disk, so that
// they can come from memory; the paths only name them.
ObjModel* glmLoadOBJ(const char* fileName, ObjReadError* error, const ObjFileOpener& open);
void glmDelete(ObjModel* model);

// Reads the library (looked for beside the model) into model->materials; ends the process
// with status 1 when it cannot be read.
void glmReadMTL(ObjModel* model, const char* libraryName);
bool glmLoadMTL(ObjModel* model, const char* libraryName, ObjReadError* error);
// Index of the named material, or 0 (with a message) when there is none.
unsigned int glmFindMaterial(ObjModel* model, const char* name);
ObjGroup* glmLookupGroup(ObjModel* model, const char* name);
ObjGroup* glmEnsureGroup(ObjModel* model, const char* name);
// path up to and including its last '/', or "" when it has none.
std::string glmDirectoryOf(const char* path);

// Model processing (no GL needed).
float glmCenterAndScale(ObjModel* model); // returns the scale factor applied
void glmBuildFacetNormals(ObjModel* model);
void glmVertexNormals(ObjModel* model, float angle); // crease angle in degrees

float glmAbsolute(float f);
float glmLarger(float a, float b);
float glmDotProduct(const float* u, const float* v);
void glmCrossProduct(const float* u, const float* v, float* n);
void glmNormalizeVector(float* v); // a zero vector stays zero

// Drawing (GL context required).
void glmDraw(ObjModel* model, unsigned int mode);
unsigned int glmMakeList(ObjModel* model, unsigned int mode); // returns the display list id
