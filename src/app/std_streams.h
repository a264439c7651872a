// The standard descriptors and the broken-pipe signal, made safe before the game opens anything.
#pragma once

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed, so that no file or X
// connection opened later takes its number and receives the game's console lines, and ignores
// SIGPIPE, so that a reader of standard output that goes away does not end the game. Call it
// first thing in main.
void prepareStandardStreams();
