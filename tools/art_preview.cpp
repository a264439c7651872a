// pool-art-preview: draws the generated balls (lit, textured, through the game's own readers and
// ball display list) and sample overlay text, and saves them as PPM pictures for checking by eye.
// Run from the folder that holds Data/, under a display: pool-art-preview OUTPUT_DIR
#include <GL/freeglut.h>

#include <cstdio>
#include <string>
#include <vector>

#include "assets/ball_model.h"
#include "assets/texfont.h"
#include "assets/texture.h"

namespace {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;

bool savePpm(const std::string& path) {
    std::vector<unsigned char> rgb(size_t(WIDTH) * HEIGHT * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    std::fprintf(file, "P6\n%d %d\n255\n", WIDTH, HEIGHT);
    for (int y = HEIGHT - 1; y >= 0; --y)
        std::fwrite(&rgb[size_t(y) * WIDTH * 3], 1, size_t(WIDTH) * 3, file);
    return std::fclose(file) == 0;
}

// Sixteen balls in a 4 x 4 grid, each turned by (tiltX, turnY) degrees.
void drawBalls(const unsigned int textures[16], float tiltX, float turnY) {
    glClearColor(0.1f, 0.3f, 0.15f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4.0 * WIDTH / HEIGHT, 4.0 * WIDTH / HEIGHT, -4, 4, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float lightPosition[4] = {-0.4f, 0.6f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    const float white[4] = {1, 1, 1, 1};
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, white);
    glMaterialfv(GL_FRONT, GL_SPECULAR, white);
    glMaterialf(GL_FRONT, GL_SHININESS, 100.0f);
    for (int n = 0; n < 16; ++n) {
        glBindTexture(GL_TEXTURE_2D, textures[n]);
        glPushMatrix();
        glTranslatef(-3.0f + 2.0f * float(n % 4), 3.0f - 2.0f * float(n / 4), 0.0f);
        glRotatef(tiltX, 1, 0, 0);
        glRotatef(turnY, 0, 1, 0);
        glScalef(0.9f, 0.9f, 0.9f);
        glCallList(ballDisplayList);
        glPopMatrix();
    }
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
}

// Overlay lines at the aiming help's scale (0.4 pixels per font unit) and the status panel's
// (0.5), 25 pixels apart, white on a mid-grey and a dark background.
void drawText(TextureFont* font) {
    glClearColor(0.2f, 0.35f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, WIDTH, 0, HEIGHT, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    bindFontTexture(font);
    const char* lines[] = {"Player 1 (SHOOTING)",
                           "Open",
                           "3 Balls Remaining",
                           "    arrow keys (left,right): change shot angle",
                           "    alt/ctrl:                use w/ arrow keys to speed up movement",
                           "The cue ball may not be placed on top of another ball.",
                           " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                           "[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~ gjpqy ÄÖ"};
    float y = HEIGHT - 30.0f;
    for (float scale : {0.5f, 0.4f}) {
        int i = 0;
        for (const char* line : lines) {
            glColor3f(1.0f, i % 3 == 1 ? 1.0f : 1.0f, i % 3 == 1 ? 0.0f : 1.0f);
            glLoadIdentity();
            glTranslatef(10.0f, y, 0.0f);
            glScalef(scale, scale, scale);
            drawString(font, line, int(std::string(line).size()));
            y -= 25.0f;
            ++i;
        }
        y -= 25.0f;
    }
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: pool-art-preview OUTPUT_DIR\n");
        return 2;
    }
    const std::string out = std::string(argv[1]) + "/";
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(WIDTH, HEIGHT);
    glutCreateWindow("pool art preview");
    glViewport(0, 0, WIDTH, HEIGHT);

    unsigned int balls[16];
    loadBallModel("Data/ball.obj");
    for (int n = 0; n < 16; ++n) {
        char file[32];
        std::snprintf(file, sizeof file, "Data/ball%d.bmp", n);
        balls[n] = loadTexture(file);
    }
    bool ok = true;
    drawBalls(balls, 0.0f, 0.0f);
    ok = ok && savePpm(out + "balls_front.ppm");
    drawBalls(balls, 55.0f, 40.0f);
    ok = ok && savePpm(out + "balls_tilted.ppm");
    drawBalls(balls, -70.0f, 100.0f);
    ok = ok && savePpm(out + "balls_under.ppm");

    TextureFont* font = loadTextureFont("Data/default.txf");
    if (font == nullptr) {
        std::fprintf(stderr, "pool-art-preview: Data/default.txf: %s\n", fontLastError());
        return 1;
    }
    createFontTexture(font, 0, true);
    drawText(font);
    ok = ok && savePpm(out + "font.ppm");
    return ok ? 0 : 1;
}
