// The game shell: start-up in its fixed order, and the display, reshape and menu callbacks.
#include "app/shell.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

#include "app/objects.h"
#include "app/placement.h"
#include "assets/ball_model.h"
#include "assets/texfont.h"
#include "render/camera.h"
#include "render/cue.h"
#include "render/gl_baseline.h"
#include "render/light.h"
#include "render/overlays.h"
#include "render/room.h"
#include "render/scene.h"

void (*postRedisplay)() = glutPostRedisplay;
void (*swapBuffers)() = glutSwapBuffers;

namespace {
constexpr const char* FONT_FILE = "Data/default.txf";
constexpr float LIGHT_COLOUR[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr float LIGHT_POSITION[4] = {0.0f, 22.0f, 0.0f, 1.0f}; // 22 units above the centre
constexpr float LIGHT_DIRECTION[3] = {0.0f, -1.0f, 0.0f};
constexpr float CUE_DIFFUSE[4] = {0.33f, 0.33f, 0.0f, 1.0f};
constexpr float CUE_SPECULAR[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr float CUE_SHININESS = 100.0f;
constexpr double FIELD_OF_VIEW = 45.0; // degrees, vertical
constexpr double NEAR_PLANE = 1.0;     // world units
constexpr double FAR_PLANE = 400.0;    // world units

void setFixedGlState() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearStencil(0);
    setGlBaseline();
}
} // namespace

// Without a font the game still plays; the screens then show no text.
void loadFont(const char* fileName) {
    font = loadTextureFont(fileName);
    if (font) {
        createFontTexture(font, 0, true);
    } else {
        std::fprintf(stderr, "Cannot load the font %s: %s The screens are shown without text.\n",
                     fileName, fontLastError());
    }
}

void init() {
    room = new Room();
    room->loadTexture();
    const float* cueStart = rack[0].position;
    camera = new Camera(cueStart[0], cueStart[1], cueStart[2], START_DISTANCE, START_AZIMUTH,
                        START_ELEVATION, 0.0, 1.0, 0.0);
    light = new Light(GL_LIGHT0, LIGHT_COLOUR, LIGHT_POSITION, LIGHT_DIRECTION, 90.0f);
    loadBallModel("Data/ball.obj");
    tableArt = loadTableArt();
    // At rest the tip touches the cue ball.
    cue = new Cue(cueStart, BALL_RADIUS, 50.0, START_CUE_ANGLE, START_CUE_ELEVATION, CUE_DIFFUSE,
                  CUE_SPECULAR, &CUE_SHININESS);
    loadFont(FONT_FILE);
    setFixedGlState();
    setLightModel();
    light->enable();
    std::fflush(stdout); // the loaders' messages reach a pipe before the first frame
}

void display() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    const SceneView view = sceneView();
    if (game.referee.isPlacingCueBall()) {
        drawPlacementScreen(view);
        refusalShown();
    } else {
        drawScene(view, PASS_MAIN_VIEW);
        // Software GL (Mesa's llvmpipe) makes every draw after a large queued scene slow; the
        // overlays' hundreds of small glyph draws then cost more than the whole scene. Handing
        // the scene over first keeps them cheap (a frame at 800x600: 50 ms before, 14 after).
        glFlush();
        drawOverlays(view);
    }
    swapBuffers();
}

void reshape(int width, int height) {
    windowWidth = width;
    windowHeight = height;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A minimised window has no aspect ratio; any finite one keeps the projection usable.
    const double aspect = (width > 0 && height > 0) ? double(width) / height : 1.0;
    gluPerspective(FIELD_OF_VIEW, aspect, NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
}

void menu(int value) {
    if (value == MENU_TOGGLE_LIGHTING) toggles.lighting = !toggles.lighting;
    if (value == MENU_TOGGLE_SHADOWS) toggles.shadows = !toggles.shadows;
    if (value == MENU_TOGGLE_TEXTURING) toggles.texturing = !toggles.texturing;
    postRedisplay();
}

const MenuEntry MENU_ENTRIES[] = {{"Toggle Lighting", MENU_TOGGLE_LIGHTING},
                                  {"Toggle Shadows", MENU_TOGGLE_SHADOWS},
                                  {"Toggle Texturing", MENU_TOGGLE_TEXTURING}};

void createMenu() {
    glutCreateMenu(menu);
    for (const MenuEntry& entry : MENU_ENTRIES) glutAddMenuEntry(entry.label, entry.value);
    glutAttachMenu(GLUT_RIGHT_BUTTON);
}
