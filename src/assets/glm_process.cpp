// Model processing: centre and scale to the unit cube, facet normals, crease-aware vertex normals.
#include <cmath>
#include <cstdio>

#include "assets/glm.h"

float glmAbsolute(float f) { return f >= 0.0f ? f : -f; }

float glmLarger(float a, float b) { return b > a ? b : a; }

float glmDotProduct(const float* u, const float* v) {
    return u[0] * v[0] + u[1] * v[1] + u[2] * v[2];
}

void glmCrossProduct(const float* u, const float* v, float* n) {
    n[0] = u[1] * v[2] - u[2] * v[1];
    n[1] = u[2] * v[0] - u[0] * v[2];
    n[2] = u[0] * v[1] - u[1] * v[0];
}

void glmNormalizeVector(float* v) {
    const double length =
        std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
    if (length == 0.0) return; // a degenerate triangle keeps a zero normal rather than NaN
    for (int i = 0; i < 3; ++i) v[i] = float(v[i] / length);
}

float glmCenterAndScale(ObjModel* model) {
    if (model->vertexCount == 0) return 1.0f;
    const float* v = model->vertices.data();
    float maxima[3] = {v[3], v[4], v[5]};
    float minima[3] = {v[3], v[4], v[5]};
    for (unsigned int i = 1; i <= model->vertexCount; ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            const float value = v[3 * i + axis];
            if (maxima[axis] < value) maxima[axis] = value;
            if (minima[axis] > value) minima[axis] = value;
        }
    }
    // |max| + |min| is the extent only for a model that straddles the origin, as the ball does.
    float widths[3], centre[3];
    for (int axis = 0; axis < 3; ++axis) {
        widths[axis] = glmAbsolute(maxima[axis]) + glmAbsolute(minima[axis]);
        centre[axis] = (maxima[axis] + minima[axis]) * 0.5f;
    }
    const float largest = glmLarger(glmLarger(widths[0], widths[1]), widths[2]);
    const float scale =
        largest > 0.0f ? float(2.0 / largest) : 1.0f; // a single point is only moved
    for (unsigned int i = 1; i <= model->vertexCount; ++i)
        for (int axis = 0; axis < 3; ++axis) {
            float& value = model->vertices[3 * i + axis];
            value = (value - centre[axis]) * scale;
        }
    return scale;
}

void glmBuildFacetNormals(ObjModel* model) {
    model->facetNormalCount = model->triangleCount;
    model->facetNormals.assign(3 * (size_t(model->triangleCount) + 1), 0.0f);
    const float* v = model->vertices.data();
    for (unsigned int i = 0; i < model->triangleCount; ++i) {
        ObjTriangle& t = model->triangles[i];
        t.facetIndex = i + 1;
        const float* p0 = v + 3 * t.vertexIndex[0];
        const float* p1 = v + 3 * t.vertexIndex[1];
        const float* p2 = v + 3 * t.vertexIndex[2];
        const float u[3] = {p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
        const float w[3] = {p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
        float* n = &model->facetNormals[3 * (size_t(i) + 1)];
        glmCrossProduct(u, w, n);
        glmNormalizeVector(n);
    }
}

namespace {

// One corner of one triangle in the list of the vertex it uses.
struct TriangleLink {
    unsigned int triangle;
    int corner;
    bool averaged;
    int next; // index into the link pool, -1 ends the list
};

} // namespace

void glmVertexNormals(ObjModel* model, float angle) {
    if (model->facetNormalCount != model->triangleCount || model->facetNormals.empty())
        glmBuildFacetNormals(model);
    const float cosAngle = float(std::cos(angle * 0.0174532925));
    const size_t corners = 3 * size_t(model->triangleCount);
    std::vector<float> normals(3 * (corners + 1), 0.0f);

    // Lists start with the last triangle that uses the vertex: that one is the reference face.
    std::vector<int> heads(size_t(model->vertexCount) + 1, -1);
    std::vector<TriangleLink> links;
    links.reserve(corners);
    for (unsigned int i = 0; i < model->triangleCount; ++i)
        for (int k = 0; k < 3; ++k) {
            const unsigned int v = model->triangles[i].vertexIndex[k];
            links.push_back({i, k, false, heads[v]});
            heads[v] = int(links.size() - 1);
        }

    auto facetNormal = [model](unsigned int triangle) {
        return &model->facetNormals[3 * size_t(model->triangles[triangle].facetIndex)];
    };
    size_t next = 1;
    for (unsigned int v = 1; v <= model->vertexCount; ++v) {
        if (heads[v] < 0) {
            std::fprintf(stderr, "glmVertexNormals(): vertex w/o a triangle\n");
            continue;
        }
        const float* reference = facetNormal(links[size_t(heads[v])].triangle);
        float sum[3] = {0.0f, 0.0f, 0.0f};
        bool any = false;
        for (int l = heads[v]; l >= 0; l = links[size_t(l)].next) {
            TriangleLink& link = links[size_t(l)];
            const float* n = facetNormal(link.triangle);
            link.averaged = glmDotProduct(n, reference) > cosAngle;
            if (!link.averaged) continue;
            for (int axis = 0; axis < 3; ++axis) sum[axis] += n[axis];
            any = true;
        }
        const size_t averagedIndex = next;
        if (any) {
            glmNormalizeVector(sum);
            for (int axis = 0; axis < 3; ++axis) normals[3 * next + axis] = sum[axis];
            ++next;
        }
        // Each link sets its own corner, so a triangle that uses a vertex twice gets a normal
        // at both corners.
        for (int l = heads[v]; l >= 0; l = links[size_t(l)].next) {
            const TriangleLink& link = links[size_t(l)];
            unsigned int& index = model->triangles[link.triangle].normalIndex[link.corner];
            if (link.averaged) {
                index = unsigned(averagedIndex);
                continue;
            }
            const float* n = facetNormal(link.triangle);
            for (int axis = 0; axis < 3; ++axis) normals[3 * next + axis] = n[axis];
            index = unsigned(next++);
        }
    }
    model->normalCount = unsigned(next - 1);
    normals.resize(3 * next);
    normals.shrink_to_fit();
    model->normals = std::move(normals);
}
