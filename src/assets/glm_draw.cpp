// Immediate-mode drawing of an OBJ model, group by group, and its compilation into a list.
#include <GL/gl.h>

#include <cstdio>

#include "assets/glm.h"

namespace {

// Clears the bits the model cannot serve, warning once for each.
unsigned int correctedMode(const ObjModel* model, unsigned int mode) {
    auto clear = [&mode](unsigned int bit, bool condition, const char* what) {
        if ((mode & bit) == 0 || !condition) return;
        std::printf("glmDraw() warning: %s\n", what);
        mode &= ~bit;
    };
    clear(RENDER_FLAT, model->facetNormals.empty(),
          "flat render mode requested with no facet normals defined.");
    clear(RENDER_SMOOTH, model->normals.empty(),
          "smooth render mode requested with no normals defined.");
    clear(RENDER_TEXTURE, model->texCoords.empty(),
          "texture render mode requested with no texture coordinates defined.");
    clear(RENDER_FLAT, (mode & RENDER_SMOOTH) != 0,
          "flat render mode requested and smooth render mode requested (using smooth).");
    clear(RENDER_COLOR, model->materials.empty(),
          "color render mode requested with no materials defined.");
    clear(RENDER_MATERIAL, model->materials.empty(),
          "material render mode requested with no materials defined.");
    clear(RENDER_COLOR, (mode & RENDER_MATERIAL) != 0,
          "color and material render mode requested using only material mode.");
    return mode;
}

void sendMaterial(const ObjMaterial& m, unsigned int mode) {
    if (mode & RENDER_MATERIAL) {
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, m.ambient);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, m.diffuse);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, m.specular);
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, m.shininess);
    }
    if (mode & RENDER_COLOR) glColor3fv(m.diffuse);
}

void sendTriangle(const ObjModel* model, const ObjTriangle& t, unsigned int mode) {
    if (mode & RENDER_FLAT) glNormal3fv(&model->facetNormals[3 * size_t(t.facetIndex)]);
    for (int k = 0; k < 3; ++k) {
        if (mode & RENDER_SMOOTH) glNormal3fv(&model->normals[3 * size_t(t.normalIndex[k])]);
        if (mode & RENDER_TEXTURE) glTexCoord2fv(&model->texCoords[2 * size_t(t.texCoordIndex[k])]);
        glVertex3fv(&model->vertices[3 * size_t(t.vertexIndex[k])]);
    }
}

} // namespace

void glmDraw(ObjModel* model, unsigned int mode) {
    mode = correctedMode(model, mode);
    if (mode & RENDER_COLOR) glEnable(GL_COLOR_MATERIAL);
    else if (mode & RENDER_MATERIAL) glDisable(GL_COLOR_MATERIAL);

    // Newest group first, "default" last.
    for (auto group = model->groups.rbegin(); group != model->groups.rend(); ++group) {
        if (mode & (RENDER_MATERIAL | RENDER_COLOR))
            sendMaterial(model->materials[group->material], mode);
        glBegin(GL_TRIANGLES);
        for (unsigned int i = 0; i < group->triangleCount; ++i)
            sendTriangle(model, model->triangles[group->triangleIndices[i]], mode);
        glEnd();
    }
}

unsigned int glmMakeList(ObjModel* model, unsigned int mode) {
    const unsigned int list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glmDraw(model, mode);
    glEndList();
    return list;
}
