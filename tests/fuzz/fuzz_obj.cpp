// Fuzzes the OBJ and MTL readers and the model processing. The input is an OBJ file, then
// optionally a NUL byte and the material library, which is saved as ball.mtl beside it.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "assets/glm.h"

namespace {

// A plain buffer rather than a std::string: the clean-up at exit runs after static objects die.
char workDir[64];

void removeWorkDir() {
    std::remove((std::string(workDir) + "model.obj").c_str());
    std::remove((std::string(workDir) + "ball.mtl").c_str());
    rmdir(workDir);
}

// Memory-backed when the machine has it: the files are rewritten for every input.
const char* makeWorkDir() {
    if (workDir[0] != '\0') return workDir;
    for (const char* pattern : {"/dev/shm/pool_fuzz_obj_XXXXXX", "/tmp/pool_fuzz_obj_XXXXXX"}) {
        std::snprintf(workDir, sizeof workDir, "%s", pattern);
        if (mkdtemp(workDir) != nullptr) {
            std::atexit(removeWorkDir);
            std::strcat(workDir, "/");
            return workDir;
        }
    }
    std::abort();
}

void save(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);
}

// What drawing relies on: every stored index addresses an existing entry.
void checkIndices(const ObjModel& m) {
    auto within = [](unsigned int index, unsigned int count) { return index <= count; };
    for (const ObjTriangle& t : m.triangles)
        for (int k = 0; k < 3; ++k)
            if (t.vertexIndex[k] < 1 || !within(t.vertexIndex[k], m.vertexCount) ||
                !within(t.normalIndex[k], m.normalCount) || !within(t.texCoordIndex[k], m.texCoordCount) ||
                !within(t.facetIndex, m.facetNormalCount))
                __builtin_trap();
    if (m.normals.size() != 3 * (size_t(m.normalCount) + 1)) __builtin_trap();
    for (const ObjGroup& g : m.groups) {
        if (g.triangleCount != g.triangleIndices.size()) __builtin_trap();
        for (unsigned int i : g.triangleIndices)
            if (i >= m.triangleCount) __builtin_trap();
        if (!m.materials.empty() && g.material >= m.materials.size()) __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t* split = static_cast<const uint8_t*>(std::memchr(data, 0, size));
    const size_t objSize = split ? size_t(split - data) : size;
    const std::string dir = makeWorkDir();
    const std::string objPath = dir + "model.obj";
    save(objPath, data, objSize);
    if (split) save(dir + "ball.mtl", split + 1, size - objSize - 1);
    else std::remove((dir + "ball.mtl").c_str());

    ObjReadError error;
    ObjModel* model = glmLoadOBJ(objPath.c_str(), &error);
    if (model == nullptr) return 0;
    glmCenterAndScale(model);
    glmBuildFacetNormals(model);
    glmVertexNormals(model, 90.0f);
    checkIndices(*model);
    glmDelete(model);
    return 0;
}
