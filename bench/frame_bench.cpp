// Frame rate of the game's main view (scene and overlays) during the first frames of the break.
// Usage: pool-frame-bench [FRAMES]   (run from the folder holding Data/, on a 1920x1080 display)
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/keyboard.h"
#include "app/objects.h"
#include "app/shell.h"
#include "app/shot.h"

namespace {
constexpr double FRAME_SECONDS = 1.0 / 60.0;
// Runs per window size; the fastest counts, as the one least disturbed by the other work of a
// shared machine.
constexpr int ROUNDS = 5;

struct Size {
    int width, height;
};

// Seconds per frame over the first `frames` frames of the break, each frame one 1/60 s step of
// the simulation followed by the game's display callback.
double secondsPerFrame(int frames) {
    newGame();
    strikeCueBall(MAX_SHOT_POWER);
    SilentContacts silent;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (int i = 0; i < frames; ++i) {
        game.playFrame(FRAME_SECONDS, silent);
        display();
        glFinish();
    }
    return std::chrono::duration<double>(Clock::now() - start).count() / frames;
}

void resizeWindow(const Size& size) {
    glutReshapeWindow(size.width, size.height);
    for (int i = 0; i < 20; ++i) glutMainLoopEvent();
    reshape(size.width, size.height);
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
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::printf("main view during the break, first %d frames at 1/60 s, fastest of %d runs\n",
                frames, ROUNDS);
    for (const Size& size : {Size{800, 600}, Size{1920, 1080}}) {
        resizeWindow(size);
        secondsPerFrame(2); // compiles the driver's shaders
        double best = 1e9;  // seconds per frame
        for (int round = 0; round < ROUNDS; ++round) best = std::min(best, secondsPerFrame(frames));
        std::printf("%dx%d: game %.1f fps (%.1f ms/frame)\n", size.width, size.height, 1.0 / best,
                    1000.0 * best);
    }
    return 0;
}
