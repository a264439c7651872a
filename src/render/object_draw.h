// The simulated objects drawn on GL: what the game's drawing operations do for each.
#pragma once

class Ball;
class Table;
struct RackEntry;

// The shared mesh at the ball's position, turned by its rolling, in the material of its rack row
// and its skin; nothing for a pocketed ball.
void drawBall(const Ball& ball, const RackEntry& look, unsigned int texture, bool lighting,
              bool texturing, int passFlags);
// PASS_STENCIL_MARK draws the stencil-marked tops, otherwise the sides, skirt and legs.
void drawTable(const Table& table, unsigned int feltTexture, bool lighting, bool texturing,
               int passFlags);
