// Helpers of the scene and shell tests: start-up, read-back and PNG files.
#include "render_test_util.h"

#include <GL/glu.h>
#include <png.h>

#include <cstring>

#include "app/camera.h"
#include "app/shell.h"
#include "render/cue.h"
#include "render/scene.h"
#include "sim/ball.h"
#include "sim/referee.h"
#include "support/gl_test_main.h"

void startGame() {
    static bool started = false;
    if (!started) {
        init();
        started = true;
    }
    lightingEnabled = shadowsEnabled = texturingEnabled = true;
    for (int i = 0; i < BALL_COUNT; ++i) balls[i]->reset(rack[i].position);
    referee.reset();
    camera->setOrbit(80.0, 0.0, 22.0, 0.0, 1.0, 0.0);
    camera->setTarget(0.0, 1.0, 22.0);
    cue->resetAim(0.0, 10.0);
    cue->setPosition(0.0, 1.0, 22.0);
    reshape(GL_TEST_WIDTH, GL_TEST_HEIGHT);
}

void overheadProjection(double zNear, double zFar) {
    const double aspect = double(GL_TEST_HEIGHT) / GL_TEST_WIDTH;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-50.0, 50.0, 28.0 - 100.0 * aspect, 28.0, zNear, zFar);
    glMatrixMode(GL_MODELVIEW);
}

void renderScene(int passFlags) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    drawScene(passFlags);
    glFinish();
}

void windowPoint(double x, double y, double z, int& wx, int& wy) {
    double model[16], projection[16];
    int viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    double px = 0, py = 0, pz = 0;
    gluProject(x, y, z, model, projection, viewport, &px, &py, &pz);
    wx = int(px);
    wy = int(py);
}

Rgb pixel(int wx, int wy) {
    unsigned char p[3] = {};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(wx, wy, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    return Rgb{p[0], p[1], p[2]};
}

Rgb colourAt(double x, double y, double z) {
    int wx = 0, wy = 0;
    windowPoint(x, y, z, wx, wy);
    return pixel(wx, wy);
}

int stencilAt(double x, double y, double z) {
    int wx = 0, wy = 0;
    windowPoint(x, y, z, wx, wy);
    GLuint value = 0;
    glReadBuffer(GL_BACK);
    glReadPixels(wx, wy, 1, 1, GL_STENCIL_INDEX, GL_UNSIGNED_INT, &value);
    return int(value);
}

Image readBackBuffer() {
    Image image;
    image.width = GL_TEST_WIDTH;
    image.height = GL_TEST_HEIGHT;
    std::vector<unsigned char> bottomUp(size_t(image.width) * image.height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    image.rgb.resize(bottomUp.size());
    const size_t row = size_t(image.width) * 3;
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(&image.rgb[y * row], &bottomUp[(image.height - 1 - y) * row], row);
    }
    return image;
}

bool sameImage(const Image& a, const Image& b) {
    return a.width == b.width && a.height == b.height && a.rgb == b.rgb;
}

Image halve(const Image& image) {
    Image half;
    half.width = image.width / 2;
    half.height = image.height / 2;
    half.rgb.resize(size_t(half.width) * half.height * 3);
    for (int y = 0; y < half.height; ++y) {
        for (int x = 0; x < half.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < 2; ++dy) {
                    for (int dx = 0; dx < 2; ++dx) {
                        sum += image.rgb[((2 * y + dy) * size_t(image.width) + 2 * x + dx) * 3 + c];
                    }
                }
                half.rgb[(y * size_t(half.width) + x) * 3 + c] = (unsigned char)((sum + 2) / 4);
            }
        }
    }
    return half;
}

bool writePng(const std::string& path, const Image& image) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(image.width);
    png.height = png_uint_32(image.height);
    png.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&png, path.c_str(), 0, image.rgb.data(), 0, nullptr) != 0;
}

bool readPng(const std::string& path, Image& image) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
    png.format = PNG_FORMAT_RGB;
    image.width = int(png.width);
    image.height = int(png.height);
    image.rgb.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr)) {
        png_image_free(&png);
        return false;
    }
    return true;
}
