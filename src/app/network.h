// Network play in the window: the other machine's turns played as they arrive, through the same
// operations as the keys; this machine's sent; a new game a few seconds after each win.
#pragma once

#include <string>

struct Options;

// Hosts or joins as the options say; without a network option does nothing. False with `error`
// set when it cannot start (a port in use, a host name that does not resolve).
bool startNetwork(const Options& options, std::string& error);
bool networkGame();
// Whether the player at the table plays at the other machine.
bool remoteAtTable();
// Whether play waits: a network game whose opponent has not come yet, or has gone. Only the view
// and Escape act then, and the computer waits too.
bool networkHoldsPlay();
// The seat played at the other machine (0 or 1), or -1 without a network game.
int remoteSeat();
// What the status panel says of the network, or empty.
const std::string& networkNote();

// Key callbacks of a network game: during the other machine's turn only Escape, z, x and the
// view's Up and Down act; F10 and F11 never do. Otherwise the computer's or the people's keys.
void networkKeyboard(unsigned char key, int x, int y);
void networkKeyboardUp(unsigned char key, int x, int y);
void networkSpecial(int key, int x, int y);
// Mouse callbacks of a network game: during the other machine's turn only the wheel acts.
void networkMouse(int button, int state, int x, int y);
void networkMouseMotion(int x, int y);

// Seconds the host waits after a win before it racks the next game.
constexpr double NEXT_GAME_PAUSE = 4.0;
