// The turning of orientation matrices by rotation vectors, checked against what glRotatef and
// glMultMatrixf give on a real GL stack. (The vector arithmetic is watched by every physics test.)
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "sim/vec3.h"

// No turn, or one too small for single precision, changes nothing, as with glRotatef.
TEST(RotateOrientation, EqualsGlRotateTimesTheMatrix) {
    const float m0[16] = {0.9f,  0.1f, -0.3f, 0, 0.2f, 1.1f, 0.4f, 0,
                          -0.5f, 0.3f, 0.8f,  0, 3,    -2,   5,    1};
    for (const Vec3& r : {Vec3(0.3, -1.2, 2.0), Vec3(0, 7.5, 0), Vec3(-4, 0, 0.001),
                          Vec3(25.1, 0, -13.7), Vec3(), Vec3(1e-300, 0, 0)}) {
        float ours[16], gl[16];
        std::copy(m0, m0 + 16, ours);
        rotateOrientation(ours, r);
        glLoadIdentity();
        glRotatef(float(r.length() * DEGREES_PER_RADIAN), float(r.x), float(r.y), float(r.z));
        glMultMatrixf(m0);
        glGetFloatv(GL_MODELVIEW_MATRIX, gl);
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(ours[i], gl[i], 1e-5f) << "element " << i;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
