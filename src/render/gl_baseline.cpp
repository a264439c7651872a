// The frame's GL baseline: its parts, setting them, and finding those the current state breaks.
#include "render/gl_baseline.h"

namespace {
// A switch of glEnable and glDisable.
struct Capability {
    GLenum cap;
    bool on;
    const char* name;
};
constexpr Capability CAPABILITIES[] = {
    {GL_DEPTH_TEST, true, "depth test"},
    {GL_CULL_FACE, true, "face culling"},
    {GL_LIGHTING, false, "lighting"},
    {GL_TEXTURE_2D, false, "2D texturing"},
    {GL_BLEND, false, "blending"},
    {GL_STENCIL_TEST, false, "stencil test"},
    // Lit draws set the material and the colour apart; tracking would let one overwrite the other.
    {GL_COLOR_MATERIAL, false, "colour material"},
};

// A mode that one call sets from one enum, and glGetIntegerv reads back.
struct Mode {
    GLenum query;
    GLenum value;
    void (*set)(GLenum);
    const char* name;
};
constexpr Mode MODES[] = {
    {GL_MATRIX_MODE, GL_MODELVIEW, glMatrixMode, "matrix mode"},
    {GL_CULL_FACE_MODE, GL_BACK, glCullFace, "culled face"},
    {GL_FRONT_FACE, GL_CCW, glFrontFace, "front face"},
    {GL_SHADE_MODEL, GL_SMOOTH, glShadeModel, "shade model"},
    {GL_DEPTH_FUNC, GL_LESS, glDepthFunc, "depth function"},
};

// What a draw pushes it pops before it returns.
constexpr GLint STACK_DEPTH = 1;
constexpr struct {
    GLenum query;
    const char* name;
} STACK_DEPTHS[] = {
    {GL_MODELVIEW_STACK_DEPTH, "modelview stack depth"},
    {GL_PROJECTION_STACK_DEPTH, "projection stack depth"},
    {GL_TEXTURE_STACK_DEPTH, "texture stack depth"},
};

GLint integer(GLenum query) {
    GLint value = 0;
    glGetIntegerv(query, &value);
    return value;
}

bool allColourWritesOn() {
    GLboolean mask[4] = {};
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    return mask[0] && mask[1] && mask[2] && mask[3];
}

// Whether every bit the stencil buffer has is written.
bool allStencilWritesOn() {
    const GLuint bits = (1u << integer(GL_STENCIL_BITS)) - 1u;
    return (GLuint(integer(GL_STENCIL_WRITEMASK)) & bits) == bits;
}

GLint textureEnvMode() {
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    return mode;
}

bool isWholeWindow(const GLint (&viewport)[4], int width, int height) {
    return viewport[0] == 0 && viewport[1] == 0 && viewport[2] == width && viewport[3] == height;
}
} // namespace

void setGlBaseline() {
    for (const Capability& c : CAPABILITIES) {
        if (c.on) glEnable(c.cap);
        else glDisable(c.cap);
    }
    for (const Mode& m : MODES) m.set(m.value);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glStencilMask(~0u);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, BASELINE_TEXTURE_ENV_MODE);
    glLineWidth(BASELINE_LINE_WIDTH);
}

std::vector<std::string> differencesFromGlBaseline(int width, int height) {
    std::vector<std::string> differences;
    const auto check = [&differences](bool holds, const char* name) {
        if (!holds) differences.emplace_back(name);
    };
    for (const Capability& c : CAPABILITIES) check(bool(glIsEnabled(c.cap)) == c.on, c.name);
    for (const Mode& m : MODES) check(integer(m.query) == GLint(m.value), m.name);
    check(integer(GL_DEPTH_WRITEMASK) == GL_TRUE, "depth writes");
    check(allColourWritesOn(), "colour writes");
    check(allStencilWritesOn(), "stencil writes");
    check(textureEnvMode() == BASELINE_TEXTURE_ENV_MODE, "texture environment mode");
    GLfloat lineWidth = 0.0f;
    glGetFloatv(GL_LINE_WIDTH, &lineWidth);
    check(lineWidth == BASELINE_LINE_WIDTH, "line width");
    for (const auto& s : STACK_DEPTHS) check(integer(s.query) == STACK_DEPTH, s.name);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    check(isWholeWindow(viewport, width, height), "viewport");
    return differences;
}
