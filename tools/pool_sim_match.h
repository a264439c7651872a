// pool-sim's match mode: whole headless games between computer and straight-shot players.
#pragma once

#include <vector>

struct OptionUse;
// Runs the match or the replay that the command line's options ask for; returns the exit
// status (2 for bad options or a log that does not fit).
int runMatchCommand(const std::vector<OptionUse>& uses);

class Referee;
// The referee's state line that ends a shot's output: play state, table state, the player at the
// table, the groups, the balls left in each and the winner (-1 while the game goes on).
void printVerdict(const Referee& referee);
