// The shot loop: advances the sixteen balls through a frame, contact by contact.
#pragma once

// Advances every ball of `balls` by dt seconds against `table`, resolving each contact in
// time order and printing one console line per contact. Returns the number of contacts
// resolved (the game ignores it; the benchmark counts them). dt <= 0 changes nothing.
int simulate(double dt);

// The end-of-shot test: every ball's velocity is exactly zero, pocketed balls included.
bool allBallsAtRest();
