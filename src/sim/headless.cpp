// Headless builds draw and load nothing: the tool, the tests and the benchmark have no display.
#include "sim/ball.h"
#include "sim/table.h"

void SceneObject::loadTexture() {}
void Ball::draw(bool, bool, bool, int) {}
void Table::draw(bool, bool, bool, int) {}
