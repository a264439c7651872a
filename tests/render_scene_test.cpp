// The scene pass drawn for real: stencil shadows, the views, the render toggles and shadowMatrix.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/camera.h"
#include "app/shell.h"
#include "render/cue.h"
#include "render/scene.h"
#include "render_test_util.h"
#include "sim/ball.h"

namespace {
// Flat colours with lighting and texturing off, as the framebuffer stores them.
constexpr Rgb FELT{0, 191, 0};
constexpr Rgb RED_BALL{255, 0, 0};
constexpr Rgb RAIL{84, 61, 36};
constexpr int SHADOW_PASS_MARK = 3; // a felt pixel darkened once: 2 raised by one

// No pass bit: the overhead camera with shadows, the whole table and the cue, no room or lamp.
constexpr int OVERHEAD_ALL = 0;

bool near(const Rgb& a, const Rgb& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

Rgb halfOf(const Rgb& c) { return Rgb{c.r / 2, c.g / 2, c.b / 2}; }

// The darkest pixel (by its sum) within two pixels of a world point: thin shadows such as the
// cue's are a few pixels wide.
Rgb darkestAround(double x, double y, double z) {
    int wx = 0, wy = 0;
    windowPoint(x, y, z, wx, wy);
    Rgb darkest{255, 255, 255};
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const Rgb p = pixel(wx + dx, wy + dy);
            if (p.r + p.g + p.b < darkest.r + darkest.g + darkest.b) darkest = p;
        }
    }
    return darkest;
}

class SceneTest : public testing::Test {
protected:
    void SetUp() override {
        startGame();
        lightingEnabled = texturingEnabled = false;
        // A bare table: every ball off it, the cue hidden, unless a test puts them back.
        for (Ball* ball : balls) ball->pocketed = true;
        cue->visible = false;
        // Balls hovering at y = 8 throw shadows half as large again, clear of their own
        // outline seen from above; the deeper depth range keeps them in view.
        overheadProjection(-30.0, 15.0);
    }
    static void hover(int index, double x, double z) {
        balls[index]->pocketed = false;
        balls[index]->position = Vec3(x, 8.0, z);
    }
    // Where the felt shadow of a point lands: from the light at (0, 22, 0) onto y = 0.
    static double onFelt(double coordinate, double height) {
        return 22.0 * coordinate / (22.0 - height);
    }
};

TEST_F(SceneTest, BallShadowDarkensTheFeltByOneHalfBlendAndMarksTheStencil) {
    hover(1, 5.0, 20.0);
    renderScene(OVERHEAD_ALL);
    const double sx = onFelt(5.0, 8.0), sz = onFelt(20.0, 8.0);
    EXPECT_TRUE(near(colourAt(sx, 0, sz), halfOf(FELT), 1));
    EXPECT_EQ(stencilAt(sx, 0, sz), SHADOW_PASS_MARK);
    EXPECT_TRUE(near(colourAt(-10, 0, -10), FELT, 0));
    EXPECT_EQ(stencilAt(-10, 0, -10), FELT_STENCIL);
}

TEST_F(SceneTest, OverlappingShadowsDarkenTheOverlapOnlyOnce) {
    hover(1, 5.0, 20.0);
    hover(2, 5.0, 21.5);
    renderScene(OVERHEAD_ALL);
    const double sx = onFelt(5.0, 8.0);
    const Rgb single = colourAt(sx, 0, onFelt(20.0, 8.0) - 1.0);
    const Rgb overlap = colourAt(sx, 0, 32.6); // inside both shadows, clear of both balls
    EXPECT_TRUE(near(single, halfOf(FELT), 1));
    EXPECT_TRUE(near(overlap, single, 0));
    EXPECT_EQ(stencilAt(sx, 0, 32.6), SHADOW_PASS_MARK);
}

TEST_F(SceneTest, BallShadowStopsAtTheFeltsEdge) {
    hover(1, 14.0, 10.0); // its shadow is centred on the felt's edge, x = 22
    renderScene(OVERHEAD_ALL);
    const double sz = onFelt(10.0, 8.0);
    EXPECT_TRUE(near(colourAt(21.5, 0, sz), halfOf(FELT), 1));
    // The cushion top beyond the edge is in the shadow's reach but keeps its own colour.
    EXPECT_TRUE(near(colourAt(22.8, 1, sz), FELT, 0));
    EXPECT_EQ(stencilAt(22.8, 1, sz), RAIL_STENCIL);
}

TEST_F(SceneTest, PocketedBallCastsNoShadow) {
    hover(1, 5.0, 20.0);
    balls[1]->pocketed = true;
    renderScene(OVERHEAD_ALL);
    EXPECT_TRUE(near(colourAt(onFelt(5.0, 8.0), 0, onFelt(20.0, 8.0)), FELT, 0));
}

TEST_F(SceneTest, CueShadowFallsOnFeltAndRailsAndNotWhenHidden) {
    cue->setPosition(10.0, 1.0, 22.0);
    // A stick point s units past the tip, aimed along +z and tilted up by 10 degrees.
    const auto stick = [](double s) {
        const double e = 10.0 * RADIANS_PER_DEGREE;
        return Vec3(10.0, 1.0 + (s + 1.0) * std::sin(e), 22.0 + (s + 1.0) * std::cos(e));
    };
    const Vec3 a = stick(8.0), b = stick(18.5);
    const Vec3 onFeltPoint(onFelt(a.x, a.y), 0.0, onFelt(a.z, a.y));
    const Vec3 onRailPoint(21.0 * b.x / (22.0 - b.y), 1.0, 21.0 * b.z / (22.0 - b.y));
    ASSERT_GT(onRailPoint.z, 44.0); // on the cushion and rail tops
    renderScene(OVERHEAD_ALL);
    const Rgb unshadedFelt = darkestAround(onFeltPoint.x, 0, onFeltPoint.z);
    const Rgb unshadedRail = darkestAround(onRailPoint.x, 1, onRailPoint.z);
    EXPECT_TRUE(near(unshadedFelt, FELT, 0));
    cue->visible = true;
    renderScene(OVERHEAD_ALL);
    EXPECT_TRUE(near(darkestAround(onFeltPoint.x, 0, onFeltPoint.z), halfOf(unshadedFelt), 1));
    EXPECT_TRUE(near(darkestAround(onRailPoint.x, 1, onRailPoint.z), halfOf(unshadedRail), 1));
}

TEST_F(SceneTest, ShadowsOffUseNoStencilTestAndNoBlending) {
    hover(1, 5.0, 20.0);
    shadowsEnabled = false;
    renderScene(OVERHEAD_ALL);
    const double sx = onFelt(5.0, 8.0), sz = onFelt(20.0, 8.0);
    EXPECT_TRUE(near(colourAt(sx, 0, sz), FELT, 0));
    // The table still marks its planes, and nothing raised a mark.
    std::vector<GLubyte> stencil(800 * 600);
    glReadPixels(0, 0, 800, 600, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, stencil.data());
    EXPECT_EQ(*std::max_element(stencil.begin(), stencil.end()), FELT_STENCIL);
    EXPECT_EQ(stencilAt(sx, 0, sz), FELT_STENCIL);
}

TEST_F(SceneTest, InsetViewNeverShowsShadows) {
    hover(1, 5.0, 20.0);
    renderScene(PASS_INSET_VIEW);
    EXPECT_TRUE(near(colourAt(onFelt(5.0, 8.0), 0, onFelt(20.0, 8.0)), FELT, 0));
}

TEST_F(SceneTest, PlacementViewShowsShadowsButNoCue) {
    hover(1, 5.0, 20.0);
    cue->visible = true;
    cue->setPosition(-10.0, 1.0, -20.0);
    renderScene(PASS_PLACEMENT_VIEW);
    EXPECT_TRUE(near(colourAt(onFelt(5.0, 8.0), 0, onFelt(20.0, 8.0)), halfOf(FELT), 1));
    EXPECT_TRUE(near(colourAt(-10.0, 1.0, -15.0), FELT, 0)); // where the stick would lie
}

TEST_F(SceneTest, OverheadViewsDrawNoRoomOrLampAndIgnoreTheCamera) {
    // A depth range from above the lamp down past the floor: both would show if drawn.
    overheadProjection(-30.0, 80.0);
    renderScene(PASS_INSET_VIEW);
    const Image before = readBackBuffer();
    EXPECT_TRUE(near(colourAt(0, 0, 0), FELT, 0));     // no bulb or shade over the centre
    EXPECT_TRUE(near(colourAt(35, -50, 0), Rgb{}, 0)); // no crimson floor beside the table
    camera->setTarget(5.0, 3.0, -7.0);
    camera->setOrbit(12.0, 75.0, -40.0, 0.0, 1.0, 0.0);
    renderScene(PASS_INSET_VIEW);
    EXPECT_TRUE(sameImage(readBackBuffer(), before));
    renderScene(PASS_PLACEMENT_VIEW);
    EXPECT_TRUE(near(colourAt(0, 0, 0), FELT, 0));
    EXPECT_TRUE(near(colourAt(35, -50, 0), Rgb{}, 0));
}

TEST_F(SceneTest, FlatColoursWithLightingAndTexturingOff) {
    balls[1]->pocketed = false;
    renderScene(OVERHEAD_ALL);
    EXPECT_TRUE(near(colourAt(0, 2, -22), RED_BALL, 0));
    EXPECT_TRUE(near(colourAt(-10, 0, 10), FELT, 0));
    EXPECT_TRUE(near(colourAt(26.5, 1, 20), RAIL, 0));
}

TEST_F(SceneTest, LightingShadesTheFeltUnderTheSpotAndTexturesFollowTheMode) {
    // Cell centres sample the same texel of the felt, one under the lamp, one outside its cone.
    const auto centreAndFar = [] {
        renderScene(OVERHEAD_ALL);
        return std::make_pair(colourAt(0.5, 0, 0.5), colourAt(0.5, 0, 40.5));
    };
    lightingEnabled = true;
    auto [litCentre, litFar] = centreAndFar();
    EXPECT_GT(litCentre.g, litFar.g + 40); // the pool of light
    texturingEnabled = true;
    auto [modulatedCentre, modulatedFar] = centreAndFar();
    EXPECT_LT(modulatedFar.g, 0.8 * modulatedCentre.g); // the texture, shaded
    lightingEnabled = false;
    auto [replacedCentre, replacedFar] = centreAndFar();
    EXPECT_TRUE(near(replacedCentre, replacedFar, 2)); // the texture as it is, unshaded
    EXPECT_FALSE(near(replacedCentre, FELT, 8));
}

TEST_F(SceneTest, MainViewShowsTheRoomAndTheLampInFlatColours) {
    reshape(800, 600);
    renderScene(PASS_MAIN_VIEW);
    EXPECT_TRUE(near(colourAt(-60, 20, -131.5), Rgb{255, 0, 255}, 0)); // plain far wall
    EXPECT_TRUE(near(colourAt(-80, -50, -80), Rgb{166, 15, 38}, 1)); // crimson floor
    EXPECT_TRUE(near(colourAt(0, 25, 0), Rgb{128, 128, 128}, 1));    // the shade
    lightingEnabled = true;
    renderScene(PASS_MAIN_VIEW);
    EXPECT_TRUE(near(colourAt(0, 25, 0), Rgb{128, 128, 128}, 1)); // the lamp is never lit
}

TEST_F(SceneTest, LightStaysFixedInTheWorldWhileTheCameraOrbits) {
    reshape(800, 600);
    for (double azimuth : {0.0, 73.0, 200.0}) {
        camera->setOrbit(60.0, azimuth, 35.0, 0.0, 1.0, 0.0);
        renderScene(PASS_MAIN_VIEW);
        double v[16];
        float eyePosition[4], eyeDirection[3];
        glGetDoublev(GL_MODELVIEW_MATRIX, v);
        glGetLightfv(GL_LIGHT0, GL_POSITION, eyePosition);
        glGetLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, eyeDirection);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(eyePosition[i], v[4 + i] * 22.0 + v[12 + i], 1e-3);
            EXPECT_NEAR(eyeDirection[i], -v[4 + i], 1e-5);
        }
    }
    float cutoff = 0, exponent = 0;
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, &cutoff);
    glGetLightfv(GL_LIGHT0, GL_SPOT_EXPONENT, &exponent);
    EXPECT_EQ(cutoff, 60.0f); // whatever the constructor was given
    EXPECT_EQ(exponent, 7.0f);
}

TEST_F(SceneTest, FirstFramesEyeLooksAtTheCueBallFromBehind) {
    startGame();
    renderScene(PASS_MAIN_VIEW);
    double m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    // The eye is where the view maps to the origin: -R^T t.
    const double eye[3] = {-(m[0] * m[12] + m[1] * m[13] + m[2] * m[14]),
                           -(m[4] * m[12] + m[5] * m[13] + m[6] * m[14]),
                           -(m[8] * m[12] + m[9] * m[13] + m[10] * m[14])};
    EXPECT_NEAR(eye[0], 0.0, 1e-3);
    EXPECT_NEAR(eye[1], 30.97, 0.01);
    EXPECT_NEAR(eye[2], 96.17, 0.01);
    // The view axis (-z in eye space) points from the eye at (0, 1, 22).
    const double toTarget[3] = {0.0 - eye[0], 1.0 - eye[1], 22.0 - eye[2]};
    const double length = std::sqrt(toTarget[0] * toTarget[0] + toTarget[1] * toTarget[1] +
                                    toTarget[2] * toTarget[2]);
    EXPECT_NEAR(-m[2], toTarget[0] / length, 1e-5);
    EXPECT_NEAR(-m[6], toTarget[1] / length, 1e-5);
    EXPECT_NEAR(-m[10], toTarget[2] / length, 1e-5);
}

TEST_F(SceneTest, EveryDrawLeavesLightingAndTexturingOffDepthAndCullingOn) {
    lightingEnabled = shadowsEnabled = texturingEnabled = true;
    for (Ball* ball : balls) ball->pocketed = false;
    cue->visible = true;
    for (int flags : {PASS_MAIN_VIEW, PASS_INSET_VIEW, PASS_PLACEMENT_VIEW}) {
        renderScene(flags);
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

TEST(ShadowMatrix, ProjectsPointsFromTheLightOntoThePlanes) {
    const float lightPosition[4] = {0.0f, 22.0f, 0.0f, 1.0f};
    float felt[16], rail[16];
    shadowMatrix(felt, lightPosition, feltPlane);
    shadowMatrix(rail, lightPosition, railPlane);
    const auto apply = [](const float* m, double x, double y, double z) {
        const double p[4] = {x, y, z, 1.0};
        double out[4] = {};
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) out[i] += m[4 * j + i] * p[j];
        }
        return Vec3(out[0] / out[3], out[1] / out[3], out[2] / out[3]);
    };
    for (const Vec3& p : {Vec3(3, 1, -7), Vec3(-12.5, 5, 30), Vec3(20, 0, 0)}) {
        const Vec3 f = apply(felt, p.x, p.y, p.z), r = apply(rail, p.x, p.y, p.z);
        EXPECT_NEAR(f.x, 22 * p.x / (22 - p.y), 1e-4);
        EXPECT_NEAR(f.y, 0.0, 1e-5);
        EXPECT_NEAR(f.z, 22 * p.z / (22 - p.y), 1e-4);
        EXPECT_NEAR(r.x, 21 * p.x / (22 - p.y), 1e-4);
        EXPECT_NEAR(r.y, 1.0, 1e-5);
        EXPECT_NEAR(r.z, 21 * p.z / (22 - p.y), 1e-4);
    }
    // Any light and plane: the image lies on the plane and on the ray from the light.
    const float offLight[4] = {3.0f, 10.0f, -2.0f, 1.0f};
    const float slope[4] = {0.2f, 1.0f, -0.1f, 0.5f};
    float m[16];
    shadowMatrix(m, offLight, slope);
    const Vec3 q = apply(m, 1.0, 4.0, 2.0);
    EXPECT_NEAR(0.2 * q.x + q.y - 0.1 * q.z + 0.5, 0.0, 1e-4);
    const Vec3 fromLight = q - Vec3(3, 10, -2), toPoint = Vec3(1, 4, 2) - Vec3(3, 10, -2);
    const Vec3 c(fromLight.y * toPoint.z - fromLight.z * toPoint.y,
                 fromLight.z * toPoint.x - fromLight.x * toPoint.z,
                 fromLight.x * toPoint.y - fromLight.y * toPoint.x);
    EXPECT_NEAR(c.length(), 0.0, 1e-3);
}
} // namespace
