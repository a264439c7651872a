// pool-sim's match mode: whole headless games between computer and straight-shot players.
#pragma once

// Whether the command line asks for a match or a replay: it holds an option only they take.
bool isMatchCommand(int argc, char** argv);
// Runs it; returns the exit status (2 for bad options or a log that does not fit).
int runMatchCommand(int argc, char** argv);
