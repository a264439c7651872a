// The simulated objects drawn on GL: what the game's drawing operations do for each.
#pragma once

class Ball;
class Table;

// The shared mesh at the ball's position, turned by its rolling, in its own skin; nothing for a
// pocketed ball.
void drawBall(const Ball& ball, bool lighting, bool texturing, int passFlags);
// PASS_STENCIL_MARK draws the stencil-marked tops, otherwise the sides, skirt and legs.
void drawTable(const Table& table, bool lighting, bool texturing, int passFlags);
