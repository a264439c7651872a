// The pool game's entry point: the window, the start-up, the callbacks and the GLUT loop.
#include <GL/freeglut.h>

#include <cstdio>
#include <string>

#include "app/computer.h"
#include "app/key_repeat.h"
#include "app/keyboard.h"
#include "app/options.h"
#include "app/shell.h"
#include "app/shot.h"
#include "app/std_streams.h"
#include "app/sound.h"

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
} // namespace

int main(int argc, char** argv) {
    prepareStandardStreams();
    Options options;
    std::string error;
    switch (parseOptions(argc, argv, options, error)) {
    case OptionsResult::Help:
        std::printf("%s%s", USAGE, HELP);
        return 0;
    case OptionsResult::Version:
        std::printf("pool %s\n", VERSION);
        return 0;
    case OptionsResult::Error:
        std::fprintf(stderr, "pool: %s\n%s", error.c_str(), USAGE);
        return 2;
    case OptionsResult::Play: break;
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
    glutInitWindowSize(800, 600);
    glutInitWindowPosition(0, 0);
    glutCreateWindow(title);
    glutFullScreen();
    init();
    checkLeaksBeforeTheDriverUnloads();
    glutDisplayFunc(displayThenStartSound);
    glutReshapeFunc(reshape);
    // With a computer player the keys pass its turn's filter first; without, they are the
    // two-player game's own.
    const bool computer = options.computerPlays[0] || options.computerPlays[1];
    glutKeyboardFunc(computer ? computerKeyboard : keyboard);
    glutKeyboardUpFunc(computer ? computerKeyboardUp : keyboardUp);
    glutSpecialFunc(computer ? computerSpecial : special);
    enableDetectableAutoRepeat();
    createMenu();
    startComputer(options);
    soundPlayed = !options.mute;
    soundWanted = soundPlayed || !options.soundFile.empty();
    glutMainLoop();
    return 0;
}
