// The pool game's entry point: the window, the start-up, the callbacks and the GLUT loop.
#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/command_line.h"
#include "app/computer.h"
#include "app/key_repeat.h"
#include "app/keyboard.h"
#include "app/mouse.h"
#include "app/network.h"
#include "app/options.h"
#include "app/recording.h"
#include "app/replay.h"
#include "app/shell.h"
#include "app/shot.h"
#include "app/sound.h"
#include "app/std_streams.h"
#include "app/window_identity.h"

namespace {
bool soundWanted = false; // played, recorded or both
bool soundPlayed = false; // on the audio device

// Sound starts once the first frame is drawn, so that the window never waits for the device.
void displayThenStartSound() {
    display();
    if (!soundWanted) return;
    soundWanted = false;
    startSound(soundPlayed);
}
// A replay takes only the keys and the wheel that watch it; a network game's keys pass the other
// machine's turn's filter first, then the computer's; with a computer player the keys and the
// mouse pass its turn's filter first; otherwise they are the two-player game's own.
void setInputCallbacks(const Options& options) {
    const bool computer = options.computerPlays[0] || options.computerPlays[1];
    if (!options.replayFile.empty()) {
        glutKeyboardFunc(replayKeyboard);
        glutSpecialFunc(replaySpecial);
        glutMouseFunc(replayMouse);
        return;
    }
    if (options.network.port != 0) {
        glutKeyboardFunc(networkKeyboard);
        glutKeyboardUpFunc(networkKeyboardUp);
        glutSpecialFunc(networkSpecial);
        glutMouseFunc(networkMouse);
        glutMotionFunc(networkMouseMotion);
        return;
    }
    glutKeyboardFunc(computer ? computerKeyboard : keyboard);
    glutKeyboardUpFunc(computer ? computerKeyboardUp : keyboardUp);
    glutSpecialFunc(computer ? computerSpecial : special);
    glutMouseFunc(computer ? computerMouse : mouse);
    glutMotionFunc(computer ? computerMouseMotion : mouseMotion);
}
} // namespace

int main(int argc, char** argv) {
    prepareStandardStreams();
    Options options;
    std::string error;
    const OptionsResult result = parseOptions(argc, argv, options, error);
    switch (result) {
    case OptionsResult::Help:
    case OptionsResult::Version: return printHelpOrVersion(result, stdout);
    case OptionsResult::Error: return refuseCommandLine("pool", error);
    case OptionsResult::Play: break;
    }
    resolveFileNames(options, std::getenv("POOL_START_DIR"));
    if (!options.replayFile.empty() && !loadReplay(options.replayFile.c_str(), error)) {
        std::fprintf(stderr, "pool: %s\n", error.c_str());
        return 2;
    }
    // The window title is the path the game was started with; a start without one (an empty
    // argument list) still gets a name.
    const char* title = (argc > 0 && argv[0] && argv[0][0]) ? argv[0] : "pool";
    requireDisplay(title);
    if (!options.soundFile.empty() && !recordSound(options.soundFile, error)) {
        std::fprintf(stderr, "pool: %s\n", error.c_str());
        return 1;
    }
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    glutInitWindowSize(options.windowWidth, options.windowHeight);
    glutInitWindowPosition(0, 0);
    glutCreateWindow(title);
    identifyWindow("Data/icon.png");
    if (!options.windowed) glutFullScreen();
    init();
    checkLeaksBeforeTheDriverUnloads();
    glutDisplayFunc(displayThenStartSound);
    glutReshapeFunc(reshape);
    setInputCallbacks(options);
    enableDetectableAutoRepeat();
    createMenu();
    if (!options.recordFile.empty() && !startRecording(options.recordFile.c_str())) return 1;
    if (!options.replayFile.empty()) startReplay();
    startComputer(options);
    if (!startNetwork(options, error)) {
        std::fprintf(stderr, "pool: %s\n", error.c_str());
        return 1;
    }
    soundPlayed = !options.mute;
    soundWanted = soundPlayed || !options.soundFile.empty();
    glutMainLoop();
    return 0;
}
