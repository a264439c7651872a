// The world of a headless run: a table and the sixteen balls on their rack spots.
#pragma once

// Builds the table and the balls the first time (as the game's start-up does), puts every ball
// back on its rack spot afterwards, and starts a new game for the referee.
void setUpHeadlessGame();
