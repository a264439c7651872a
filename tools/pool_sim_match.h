// pool-sim's match mode: whole headless games between computer and straight-shot players.
#pragma once

// Whether the command line asks for a match or a replay: it holds an option only they take.
bool isMatchCommand(int argc, char** argv);
// Runs it; returns the exit status (2 for bad options or a log that does not fit).
int runMatchCommand(int argc, char** argv);

class Referee;
// The referee's state line that ends a shot's output: play state, table state, the player at the
// table, the groups, the balls left in each and the winner (-1 while the game goes on).
void printVerdict(const Referee& referee);
