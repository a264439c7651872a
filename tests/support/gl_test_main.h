// The window every GL test draws into; tests read its back buffer with glReadPixels.
#pragma once

constexpr int GL_TEST_WIDTH = 800;
constexpr int GL_TEST_HEIGHT = 600;
