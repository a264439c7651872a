// The shot loop: advances the sixteen balls through a frame, contact by contact.
#pragma once

#include "sim/ball.h"

class ContactHook;
class Referee;
class Table;

// Advances every ball of `balls` (rack-row order) by dt seconds on `table`, resolving each
// contact in time order: `hook` hears each one and the referee each ball that drops. Returns the
// number of contacts resolved. dt <= 0 changes nothing.
int simulate(Ball balls[BALL_COUNT], const Table& table, Referee& referee, ContactHook& hook,
             double dt);

// The end-of-shot test: every ball's velocity is exactly zero, pocketed balls included.
bool allBallsAtRest(const Ball balls[BALL_COUNT]);
