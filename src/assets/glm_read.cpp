// OBJ and MTL reading: a counting pass, exact allocation, then a filling pass. Every index is
// checked against the counts before it is stored, so drawing never reads outside an array.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string_view>

#include "assets/glm.h"
#include "assets/obj_tokens.h"
#include "assets/open_file.h"

namespace {

// Far beyond any mesh the game draws; keeps every array size well inside unsigned int.
constexpr unsigned int MAX_ELEMENTS = 1u << 26;

// Reads a material library through open (defined with the library reading below).
bool loadLibrary(ObjModel* model, const char* libraryName, ObjReadError* error,
                 const ObjFileOpener& open);

enum class FaceForm { Vertex, VertexTexture, VertexTextureNormal, VertexNormal };

struct FaceCorner {
    long vertex = 0;
    long texCoord = 0;
    long normal = 0;
};

// Parses a decimal integer at s; advances s. Values are clamped far outside any valid index
// so that they fail the range check instead of overflowing.
bool parseIndex(const char*& s, long& value) {
    const char* p = s;
    bool negative = false;
    if (*p == '-' || *p == '+') negative = (*p++ == '-');
    if (*p < '0' || *p > '9') return false;
    long v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) v = v < 100000000000L ? v * 10 + (*p - '0') : v;
    value = negative ? -v : v;
    s = p;
    return true;
}

bool expect(const char*& s, const char* text) {
    const size_t n = std::strlen(text);
    if (std::strncmp(s, text, n) != 0) return false;
    s += n;
    return true;
}

// The whole token must have the form's shape.
bool parseCorner(const std::string& token, FaceForm form, FaceCorner& corner) {
    const char* s = token.c_str();
    bool ok = parseIndex(s, corner.vertex);
    switch (form) {
    case FaceForm::Vertex: break;
    case FaceForm::VertexTexture:
        ok = ok && expect(s, "/") && parseIndex(s, corner.texCoord);
        break;
    case FaceForm::VertexTextureNormal:
        ok = ok && expect(s, "/") && parseIndex(s, corner.texCoord) && expect(s, "/") &&
             parseIndex(s, corner.normal);
        break;
    case FaceForm::VertexNormal: ok = ok && expect(s, "//") && parseIndex(s, corner.normal); break;
    }
    return ok && *s == '\0';
}

FaceForm formOf(const std::string& token) {
    if (token.find("//") != std::string::npos) return FaceForm::VertexNormal;
    FaceCorner probe;
    if (parseCorner(token, FaceForm::VertexTextureNormal, probe))
        return FaceForm::VertexTextureNormal;
    if (parseCorner(token, FaceForm::VertexTexture, probe)) return FaceForm::VertexTexture;
    return FaceForm::Vertex;
}

class ObjReader {
public:
    ObjReader(ObjModel* model, std::FILE* file, ObjReadError* error, const ObjFileOpener& open)
        : model_(model), tokens_(file), error_(error), open_(open) {}

    bool firstPass();
    bool dataPass();

private:
    bool fail(const char* problem, const std::string& detail = "");
    bool readFace(std::vector<FaceCorner>& corners);
    bool checkCorner(const FaceCorner& corner, FaceForm form, const std::string& token);
    bool storeFan(const std::vector<FaceCorner>& corners, ObjGroup* group);
    bool readGroupName(std::string& name);
    bool readLibraryName(std::string& name);
    bool readLibraryOnce(const std::string& name);
    bool holdLastLibrary();

    ObjModel* model_;
    TokenReader tokens_;
    ObjReadError* error_;
    const ObjFileOpener& open_;
    FaceForm form_ = FaceForm::Vertex;
    unsigned int nextVertex_ = 1, nextNormal_ = 1, nextTexCoord_ = 1, nextTriangle_ = 0;
    std::set<std::string> librariesRead_; // names of the libraries read without a fault
    std::string heldLibrary_;             // the one whose materials the model holds
};

bool ObjReader::fail(const char* problem, const std::string& detail) {
    char line[512];
    std::snprintf(line, sizeof line, "glmReadOBJ() failed: %s%s in \"%s\".\n", problem,
                  detail.c_str(), model_->path.c_str());
    error_->message = line;
    error_->onStandardOutput = false;
    return false;
}

// Reads the corners of one face; the face ends at the first token not in its form.
bool ObjReader::readFace(std::vector<FaceCorner>& corners) {
    corners.clear();
    std::string token;
    if (tokens_.next(token)) {
        form_ = formOf(token);
        tokens_.pushBack(token);
    }
    while (tokens_.next(token)) {
        FaceCorner corner;
        if (!parseCorner(token, form_, corner)) {
            tokens_.pushBack(token);
            break;
        }
        if (!checkCorner(corner, form_, token)) return false;
        corners.push_back(corner);
    }
    if (tokens_.tooLong()) return fail("token longer than 127 characters");
    if (corners.size() < 3) return fail("face with fewer than 3 vertices");
    return true;
}

bool ObjReader::checkCorner(const FaceCorner& c, FaceForm form, const std::string& token) {
    // In the first pass the counts are not known yet; there only the sign is checked.
    const bool counted = !model_->vertices.empty();
    auto bad = [counted](long index, unsigned int count) {
        return index < 1 || (counted && index > long(count));
    };
    const bool hasTexture =
        form == FaceForm::VertexTexture || form == FaceForm::VertexTextureNormal;
    const bool hasNormal = form == FaceForm::VertexNormal || form == FaceForm::VertexTextureNormal;
    if (bad(c.vertex, model_->vertexCount) ||
        (hasTexture && bad(c.texCoord, model_->texCoordCount)) ||
        (hasNormal && bad(c.normal, model_->normalCount)))
        return fail("face index out of range: ", "\"" + token + "\"");
    return true;
}

bool ObjReader::readGroupName(std::string& name) {
    if (!tokens_.restOfLine(name)) return fail("line longer than 127 characters");
    return true;
}

bool ObjReader::readLibraryName(std::string& name) {
    std::string line;
    if (!tokens_.restOfLine(line)) return fail("line longer than 127 characters");
    name = nameFromLine(line);
    return true;
}

// A library already read is not read again: the same file yields the same materials, and a
// model that names its libraries on line after line would otherwise cost a pass over one of
// them per line.
bool ObjReader::readLibraryOnce(const std::string& name) {
    if (librariesRead_.count(name) != 0) return true;
    if (!loadLibrary(model_, name.c_str(), error_, open_)) return false;
    librariesRead_.insert(name);
    heldLibrary_ = name;
    return true;
}

// The model keeps the materials of the library named last, which may be one read before
// another.
bool ObjReader::holdLastLibrary() {
    const std::string& last = model_->materialLibrary;
    return librariesRead_.empty() || last == heldLibrary_ ||
           loadLibrary(model_, last.c_str(), error_, open_);
}

bool ObjReader::firstPass() {
    ObjGroup* group = glmEnsureGroup(model_, "default");
    unsigned int vertices = 0, normals = 0, texCoords = 0, triangles = 0;
    std::vector<FaceCorner> corners;
    std::string token, text;
    while (tokens_.next(token)) {
        switch (token[0]) {
        case 'v':
            if (token.size() == 1) ++vertices;
            else if (token[1] == 'n') ++normals;
            else if (token[1] == 't') ++texCoords;
            else {
                error_->message = "glmFirstPass(): Unknown token \"" + token + "\".\n";
                error_->onStandardOutput = true;
                return false;
            }
            tokens_.skipLine();
            break;
        case 'm':
            if (!readLibraryName(text)) return false;
            model_->materialLibrary = text;
            if (!readLibraryOnce(text)) return false;
            break;
        case 'g':
            if (!readGroupName(text)) return false;
            group = glmEnsureGroup(model_, text.c_str());
            break;
        case 'f':
            if (!readFace(corners)) return false;
            triangles += unsigned(corners.size() - 2);
            group->triangleCount += unsigned(corners.size() - 2);
            break;
        default: tokens_.skipLine(); break;
        }
        if (vertices > MAX_ELEMENTS || normals > MAX_ELEMENTS || texCoords > MAX_ELEMENTS ||
            triangles > MAX_ELEMENTS)
            return fail("too many elements");
    }
    if (tokens_.tooLong()) return fail("token longer than 127 characters");
    if (!holdLastLibrary()) return false;
    model_->vertexCount = vertices;
    model_->normalCount = normals;
    model_->texCoordCount = texCoords;
    model_->triangleCount = triangles;
    for (ObjGroup& g : model_->groups) {
        g.triangleIndices.assign(g.triangleCount, 0);
        g.triangleCount = 0;
    }
    return true;
}

bool ObjReader::storeFan(const std::vector<FaceCorner>& corners, ObjGroup* group) {
    for (size_t k = 2; k < corners.size(); ++k) {
        // The counts of both passes agree unless the file changed in between.
        if (nextTriangle_ >= model_->triangleCount ||
            group->triangleCount >= group->triangleIndices.size())
            return fail("file changed while reading");
        ObjTriangle& t = model_->triangles[nextTriangle_];
        const FaceCorner* fan[3] = {&corners[0], &corners[k - 1], &corners[k]};
        for (int i = 0; i < 3; ++i) {
            t.vertexIndex[i] = unsigned(fan[i]->vertex);
            t.texCoordIndex[i] = unsigned(fan[i]->texCoord);
            t.normalIndex[i] = unsigned(fan[i]->normal);
        }
        group->triangleIndices[group->triangleCount++] = nextTriangle_++;
    }
    return true;
}

bool ObjReader::dataPass() {
    ObjGroup* group = glmLookupGroup(model_, "default");
    unsigned int material = 0;
    std::vector<FaceCorner> corners;
    std::string token, text;
    auto readInto = [this](std::vector<float>& array, unsigned int& next, unsigned int count,
                           int n) {
        if (next > count) return fail("file changed while reading");
        for (int i = 0; i < n; ++i) tokens_.nextFloat(array[size_t(n) * next + size_t(i)]);
        ++next;
        return true;
    };
    while (tokens_.next(token)) {
        bool ok = true;
        switch (token[0]) {
        case 'v':
            if (token.size() == 1)
                ok = readInto(model_->vertices, nextVertex_, model_->vertexCount, 3);
            else if (token[1] == 'n')
                ok = readInto(model_->normals, nextNormal_, model_->normalCount, 3);
            else if (token[1] == 't')
                ok = readInto(model_->texCoords, nextTexCoord_, model_->texCoordCount, 2);
            break;
        case 'u':
            ok = readLibraryName(text);
            if (ok) material = group->material = glmFindMaterial(model_, text.c_str());
            break;
        case 'g':
            ok = readGroupName(text);
            if (ok) {
                group = glmLookupGroup(model_, text.c_str());
                if (group == nullptr) return fail("file changed while reading");
                group->material = material;
            }
            break;
        case 'f': ok = readFace(corners) && storeFan(corners, group); break;
        default: tokens_.skipLine(); break;
        }
        if (!ok) return false;
    }
    if (tokens_.tooLong()) return fail("token longer than 127 characters");
    return true;
}

std::FILE* openFromDisk(const std::string& path) { return openFileForReading(path.c_str(), "r"); }

std::FILE* openOrFail(const ObjFileOpener& open, const std::string& path, const char* message,
                      ObjReadError* error) {
    std::FILE* file = open(path);
    if (file == nullptr) {
        char line[512];
        std::snprintf(line, sizeof line, message, path.c_str());
        error->message = line;
        error->onStandardOutput = false;
    }
    return file;
}

[[noreturn]] void reportAndExit(const ObjReadError& error) {
    std::fputs(error.message.c_str(), error.onStandardOutput ? stdout : stderr);
    std::exit(1);
}

} // namespace

ObjModel* glmLoadOBJ(const char* fileName, ObjReadError* error, const ObjFileOpener& open) {
    std::FILE* file =
        openOrFail(open, fileName, "glmReadOBJ() failed: can't open data file \"%s\".\n", error);
    if (file == nullptr) return nullptr;
    auto model = std::make_unique<ObjModel>();
    model->path = fileName;
    ObjReader reader(model.get(), file, error, open);
    bool ok = reader.firstPass();
    if (ok) {
        model->vertices.assign(3 * (size_t(model->vertexCount) + 1), 0.0f);
        model->triangles.assign(model->triangleCount, ObjTriangle());
        if (model->normalCount) model->normals.assign(3 * (size_t(model->normalCount) + 1), 0.0f);
        if (model->texCoordCount)
            model->texCoords.assign(2 * (size_t(model->texCoordCount) + 1), 0.0f);
        std::rewind(file);
        ok = ObjReader(model.get(), file, error, open).dataPass();
    }
    std::fclose(file);
    return ok ? model.release() : nullptr;
}

ObjModel* glmLoadOBJ(const char* fileName, ObjReadError* error) {
    return glmLoadOBJ(fileName, error, openFromDisk);
}

ObjModel* glmReadOBJ(const char* fileName) {
    ObjReadError error;
    ObjModel* model = glmLoadOBJ(fileName, &error);
    if (model == nullptr) reportAndExit(error);
    return model;
}

void glmDelete(ObjModel* model) { delete model; }

namespace {

bool loadLibrary(ObjModel* model, const char* libraryName, ObjReadError* error,
                 const ObjFileOpener& open) {
    const std::string path = glmDirectoryOf(model->path.c_str()) + libraryName;
    std::FILE* file =
        openOrFail(open, path, "glmReadMTL() failed: can't open material file \"%s\".\n", error);
    if (file == nullptr) return false;
    TokenReader tokens(file);
    std::string token, line;
    auto fail = [&](const char* problem) {
        error->message = std::string("glmReadMTL() failed: ") + problem + " in \"" + path + "\".\n";
        error->onStandardOutput = false;
        std::fclose(file);
        return false;
    };
    size_t count = 1;
    while (tokens.next(token)) {
        if (token[0] == 'n') ++count;
        tokens.skipLine();
        if (count > MAX_ELEMENTS) return fail("too many materials");
    }
    if (tokens.tooLong()) return fail("token longer than 127 characters");
    tokens.rewind();
    std::vector<ObjMaterial> materials(count);
    materials[0].name = "default";
    size_t current = 0;
    while (tokens.next(token)) {
        if (token[0] == 'n') {
            if (!tokens.restOfLine(line)) return fail("line longer than 127 characters");
            if (current + 1 < count) materials[++current].name = nameFromLine(line);
        } else if (token == "Ns") {
            // Files give shininess on a 0..1000 scale; GL wants 0..128.
            float& shininess = materials[current].shininess;
            tokens.nextFloat(shininess);
            shininess = float(shininess * 0.001);
            shininess = float(shininess * 128.0);
        } else if (token[0] == 'K' && (token[1] == 'd' || token[1] == 'a' || token[1] == 's')) {
            ObjMaterial& m = materials[current];
            float* colour = token[1] == 'd' ? m.diffuse : token[1] == 'a' ? m.ambient : m.specular;
            for (int i = 0; i < 3; ++i) tokens.nextFloat(colour[i]);
        } else {
            tokens.skipLine();
        }
    }
    if (tokens.tooLong()) return fail("token longer than 127 characters");
    std::fclose(file);
    model->materials = std::move(materials);
    model->materialCount = unsigned(count);
    return true;
}

} // namespace

bool glmLoadMTL(ObjModel* model, const char* libraryName, ObjReadError* error) {
    return loadLibrary(model, libraryName, error, openFromDisk);
}

void glmReadMTL(ObjModel* model, const char* libraryName) {
    ObjReadError error;
    if (!glmLoadMTL(model, libraryName, &error)) reportAndExit(error);
}

unsigned int glmFindMaterial(ObjModel* model, const char* name) {
    for (size_t i = 0; i < model->materials.size(); ++i)
        if (model->materials[i].name == name) return unsigned(i);
    std::printf("glmFindMaterial():  can't find material \"%s\".\n", name);
    return 0;
}

ObjGroup* glmLookupGroup(ObjModel* model, const char* name) {
    // Compared as views, names of other lengths are passed over without reading them.
    const std::string_view wanted(name);
    for (ObjGroup& group : model->groups)
        if (std::string_view(group.name) == wanted) return &group;
    return nullptr;
}

ObjGroup* glmEnsureGroup(ObjModel* model, const char* name) {
    if (ObjGroup* group = glmLookupGroup(model, name)) return group;
    model->groups.emplace_back();
    model->groups.back().name = name;
    ++model->groupCount;
    return &model->groups.back();
}

std::string glmDirectoryOf(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash == nullptr ? std::string() : std::string(path, size_t(slash - path) + 1);
}
