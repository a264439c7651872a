// Fuzzes the OBJ and MTL readers and the model processing from memory. The input is an OBJ
// file, then optionally a NUL byte and the material library, which is what every library the
// model names reads; without the NUL byte no library can be opened.
#include <cstdio>
#include <cstring>
#include <string>

#include "assets/glm.h"
#include "fuzz_memory.h"

namespace {

const char* const MODEL_PATH = "model.obj";

// What drawing relies on: every stored index addresses an existing entry.
void checkIndices(const ObjModel& m) {
    auto within = [](unsigned int index, unsigned int count) { return index <= count; };
    for (const ObjTriangle& t : m.triangles)
        for (int k = 0; k < 3; ++k)
            if (t.vertexIndex[k] < 1 || !within(t.vertexIndex[k], m.vertexCount) ||
                !within(t.normalIndex[k], m.normalCount) ||
                !within(t.texCoordIndex[k], m.texCoordCount) ||
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
    const auto* split = static_cast<const uint8_t*>(std::memchr(data, 0, size));
    const size_t modelSize = split ? size_t(split - data) : size;
    // At most one model and one library are open at a time.
    static char modelBuffer[BUFSIZ], libraryBuffer[BUFSIZ];
    auto open = [&](const std::string& path) -> std::FILE* {
        if (path == MODEL_PATH) return openMemory(data, modelSize, modelBuffer);
        return split ? openMemory(split + 1, size - modelSize - 1, libraryBuffer) : nullptr;
    };

    ObjReadError error;
    ObjModel* model = glmLoadOBJ(MODEL_PATH, &error, open);
    if (model == nullptr) return 0;
    glmCenterAndScale(model);
    glmBuildFacetNormals(model);
    glmVertexNormals(model, 90.0f);
    checkIndices(*model);
    glmDelete(model);
    return 0;
}
