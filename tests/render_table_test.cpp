// Table drawing: the stencil marks of the first half, the two halves' colours, the inset pass.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/camera.h"
#include "app/shell.h"
#include "render/scene.h"
#include "render_test_util.h"
#include "sim/table.h"

namespace {
constexpr int OLD_STENCIL = 7; // what the buffer held before the table was drawn

class TableTest : public testing::Test {
protected:
    void SetUp() override {
        startGame();
        overheadProjection(-30.0, 80.0);
        glLoadIdentity();
        camera->look(0); // overhead
        glClearStencil(OLD_STENCIL);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glClearStencil(0);
    }
};

// (x, z) mirrored into each of the four quadrants.
template <typename Check> void inEveryQuadrant(double x, double z, Check check) {
    for (double sx : {-1.0, 1.0}) {
        for (double sz : {-1.0, 1.0}) check(sx * x, sz * z);
    }
}

TEST_F(TableTest, FirstHalfMarksFeltAndApronsTwoAndTopsOneAndLeavesTheHoles) {
    table->draw(true, true, true, PASS_STENCIL_MARK);
    glFinish();
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    EXPECT_EQ(stencilAt(0, 0, 0), FELT_STENCIL);
    EXPECT_EQ(stencilAt(-21.5, 0, 43.5), FELT_STENCIL);
    inEveryQuadrant(23.0, 42.42, [](double x, double z) {
        EXPECT_EQ(stencilAt(x, 0, z), FELT_STENCIL) << "corner apron " << x << ", " << z;
    });
    inEveryQuadrant(22.42, 2.33, [](double x, double z) {
        EXPECT_EQ(stencilAt(x, 0, z), FELT_STENCIL) << "side apron " << x << ", " << z;
    });
    inEveryQuadrant(23.5, 20.0, [](double x, double z) {
        EXPECT_EQ(stencilAt(x, 1, z), RAIL_STENCIL) << "cushion top " << x << ", " << z;
    });
    inEveryQuadrant(10.0, 45.5, [](double x, double z) {
        EXPECT_EQ(stencilAt(x, 1, z), RAIL_STENCIL) << "end cushion top " << x << ", " << z;
    });
    inEveryQuadrant(26.5, 48.5, [](double x, double z) {
        EXPECT_EQ(stencilAt(x, 1, z), RAIL_STENCIL) << "rail corner " << x << ", " << z;
        EXPECT_EQ(stencilAt(x, 1, 0), RAIL_STENCIL) << "side rail " << x;
    });
    inEveryQuadrant(23.5, 45.5, [](double x, double z) {
        EXPECT_EQ(stencilAt(x, 0, z), OLD_STENCIL) << "corner pocket " << x << ", " << z;
    });
    for (double x : {-24.0, 24.0}) EXPECT_EQ(stencilAt(x, 0, 0), OLD_STENCIL) << "side pocket";
    EXPECT_EQ(stencilAt(35, 0, 0), OLD_STENCIL); // off the table
}

TEST_F(TableTest, HalvesInFlatColoursWithLightingAndTexturingOff) {
    table->draw(false, false, false, PASS_STENCIL_MARK);
    table->draw(false, false, false, 0);
    glFinish();
    EXPECT_EQ(colourAt(0, 0, 0).g, 191);         // felt (0, 0.75, 0)
    EXPECT_EQ(colourAt(-23.5, 1, 20).g, 191);    // cushion top, felt green too
    const Rgb rail = colourAt(26.5, 1, 0);       // (0.33, 0.24, 0.14)
    EXPECT_EQ(rail.r, 84);
    EXPECT_EQ(rail.g, 61);
    EXPECT_EQ(rail.b, 36);
    const Rgb hole = colourAt(-23.5, 0, -45.5); // the underside through a pocket
    EXPECT_EQ(hole.r, 41);
    EXPECT_EQ(hole.g, 31);
    EXPECT_EQ(hole.b, 18);
}

TEST_F(TableTest, CushionFacesAreGreenWithoutTextureAndWithoutLight) {
    reshape(800, 600);
    camera->setTarget(0.0, 0.5, -30.0); // close to the far cushion's nose, looking at it
    camera->setOrbit(12.0, 0.0, 5.0, 0.0, 1.0, 0.0);
    glLoadIdentity();
    camera->look(PASS_MAIN_VIEW);
    table->draw(false, false, false, PASS_STENCIL_MARK);
    table->draw(false, false, false, 0);
    glFinish();
    const Rgb face = colourAt(0, 0.5, -44);
    EXPECT_EQ(face.r, 0);
    EXPECT_EQ(face.g, 128);
    EXPECT_EQ(face.b, 0);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(TableTest, InsetViewSkipsTheSecondHalfAndAddsABackdropToTheFirst) {
    const Image before = readBackBuffer();
    table->draw(true, true, true, PASS_INSET_VIEW);
    glFinish();
    EXPECT_TRUE(sameImage(readBackBuffer(), before));
    EXPECT_EQ(stencilAt(0, 0, 0), OLD_STENCIL);
    table->draw(false, false, false, PASS_INSET_VIEW | PASS_STENCIL_MARK);
    glFinish();
    EXPECT_EQ(stencilAt(0, 0, 0), FELT_STENCIL);
    const Rgb hole = colourAt(-23.5, 0, -45.5); // the backdrop, not the underside
    EXPECT_EQ(hole.r + hole.g + hole.b, 0);
    EXPECT_EQ(stencilAt(-23.5, 0, -45.5), OLD_STENCIL); // the backdrop writes no mark
}
} // namespace
