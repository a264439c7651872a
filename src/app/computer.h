// The computer at the table: it thinks in short slices from a timer while the window keeps
// drawing, then plays through the operations of the keys: it moves and places the ball in hand,
// turns the cue, charges it and releases it as the space bar does.
#pragma once

struct Options;

// Takes the seats and the level from the options and starts the computer's timer when it plays
// a seat; without one, does nothing.
void startComputer(const Options& options);
// Gives the computer's turn `seconds` more: it thinks, moves the ball in hand, turns the cue
// and charges in steps of a fixed time, as the window's timer calls it.
void advanceComputer(double seconds);
// Whether the computer has the table now: its player's turn, the game not over.
bool computerAtTable();

// Key callbacks for a game with a computer player: during its turn only Escape, z, x, F10
// (where the game admits it) and the view's Up and Down reach the game; otherwise every key
// does what it always does.
void computerKeyboard(unsigned char key, int x, int y);
void computerKeyboardUp(unsigned char key, int x, int y);
void computerSpecial(int key, int x, int y);
// Mouse callbacks for a game with a computer player: during its turn only the wheel's zoom
// reaches the game; otherwise the mouse does what it always does.
void computerMouse(int button, int state, int x, int y);
void computerMouseMotion(int x, int y);

// Seconds the demonstration (the computer on both sides) waits after a win before a new game.
constexpr double DEMONSTRATION_PAUSE = 4.0;
