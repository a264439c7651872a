// Frame rate of the game's main view during the break, against a bare mode that sends the same
// vertices with every render state change skipped: their ratio is what the state changes cost.
// Usage: pool-frame-bench [FRAMES]   (run from the folder holding Data/, on a 1920x1080 display)
#include <GL/freeglut.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/keyboard.h"
#include "app/shell.h"
#include "app/shot.h"
#include "sim/ball.h"
#include "sim/simulation.h"
#include "sim/table.h"

namespace {
bool bareMode = false;
} // namespace

// The game's render state calls reach GL through these wrappers (the benchmark is linked with
// --wrap for each): in bare mode they are dropped, so every object is drawn under one state.
#define SKIPPED_IN_BARE_MODE(name, params, args)              \
    extern "C" void __real_##name params;                     \
    extern "C" void __wrap_##name params {                    \
        if (!bareMode) __real_##name args;                    \
    }
SKIPPED_IN_BARE_MODE(glEnable, (GLenum cap), (cap))
SKIPPED_IN_BARE_MODE(glDisable, (GLenum cap), (cap))
SKIPPED_IN_BARE_MODE(glMaterialf, (GLenum face, GLenum name, GLfloat value), (face, name, value))
SKIPPED_IN_BARE_MODE(glMaterialfv, (GLenum face, GLenum name, const GLfloat* value),
                     (face, name, value))
SKIPPED_IN_BARE_MODE(glBindTexture, (GLenum target, GLuint texture), (target, texture))
SKIPPED_IN_BARE_MODE(glTexEnvi, (GLenum target, GLenum name, GLint value), (target, name, value))
SKIPPED_IN_BARE_MODE(glStencilFunc, (GLenum func, GLint ref, GLuint mask), (func, ref, mask))
SKIPPED_IN_BARE_MODE(glStencilOp, (GLenum fail, GLenum zFail, GLenum zPass), (fail, zFail, zPass))
SKIPPED_IN_BARE_MODE(glBlendFunc, (GLenum source, GLenum destination), (source, destination))
SKIPPED_IN_BARE_MODE(glLightfv, (GLenum light, GLenum name, const GLfloat* value),
                     (light, name, value))
SKIPPED_IN_BARE_MODE(glLineWidth, (GLfloat width), (width))
#undef SKIPPED_IN_BARE_MODE

namespace {
constexpr double FRAME_SECONDS = 1.0 / 60.0;
// Runs of each mode, alternated; the fastest counts, as the one least disturbed by the other
// work of a shared machine.
constexpr int ROUNDS = 5;
constexpr float WHITE[4] = {1.0f, 1.0f, 1.0f, 1.0f};

struct Size {
    int width, height;
};

// The one state of bare mode: lit and textured with the felt, depth-tested, no stencil, no
// blending, as most of the frame's pixels are drawn.
void setBareState() {
    __real_glEnable(GL_LIGHTING);
    __real_glEnable(GL_TEXTURE_2D);
    __real_glBindTexture(GL_TEXTURE_2D, table->textureId);
    __real_glMaterialfv(GL_FRONT, GL_AMBIENT, WHITE);
    __real_glMaterialfv(GL_FRONT, GL_DIFFUSE, WHITE);
    __real_glDisable(GL_STENCIL_TEST);
    __real_glDisable(GL_BLEND);
    __real_glEnable(GL_DEPTH_TEST);
    __real_glEnable(GL_CULL_FACE);
}

// What every draw of the game expects to find.
void setGameState() {
    __real_glDisable(GL_LIGHTING);
    __real_glDisable(GL_TEXTURE_2D);
}

// Seconds per frame over the first `frames` frames of the break, each frame one 1/60 s step of
// the simulation followed by the game's display callback.
double secondsPerFrame(int frames, bool bare) {
    newGame();
    strikeCueBall(100.0);
    if (bare) setBareState();
    bareMode = bare;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (int i = 0; i < frames; ++i) {
        simulate(FRAME_SECONDS);
        display();
        glFinish();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    bareMode = false;
    if (bare) setGameState();
    return seconds / frames;
}


void resizeWindow(const Size& size) {
    glutReshapeWindow(size.width, size.height);
    for (int i = 0; i < 20; ++i) glutMainLoopEvent();
    reshape(size.width, size.height);
}

// The contact lines of the simulation go to /dev/null; the report goes to the returned stream.
FILE* reportStream() {
    FILE* report = fdopen(dup(STDOUT_FILENO), "w");
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    close(devNull);
    return report;
}
} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    glutInitWindowSize(800, 600);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("pool-frame-bench");
    glutDisplayFunc([] {});
    init();
    checkLeaksBeforeTheDriverUnloads();
    FILE* report = reportStream();
    std::fprintf(report, "renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::fprintf(report, "main view during the break, first %d frames at 1/60 s, fastest of %d runs\n",
                 frames, ROUNDS);
    for (const Size& size : {Size{800, 600}, Size{1920, 1080}}) {
        resizeWindow(size);
        secondsPerFrame(2, false); // compiles the driver's shaders for both modes
        secondsPerFrame(2, true);
        double g = 1e9, b = 1e9; // seconds per frame
        for (int round = 0; round < ROUNDS; ++round) {
            g = std::min(g, secondsPerFrame(frames, false));
            b = std::min(b, secondsPerFrame(frames, true));
        }
        std::fprintf(report,
                     "%dx%d: game %.1f fps (%.1f ms/frame), bare %.1f fps (%.1f ms/frame), "
                     "game/bare frame time %.2f (target at most 1.15)\n",
                     size.width, size.height, 1.0 / g, 1000.0 * g, 1.0 / b, 1000.0 * b, g / b);
    }
    std::fclose(report);
    return 0;
}
