// Helpers of the scene and shell tests: the game started once per process, pixels and stencil
// values read back at world points, and PNG images for the reference frames.
#pragma once

#include <string>
#include <vector>

struct Rgb {
    int r = 0, g = 0, b = 0;
};

// Rows top to bottom, three bytes per pixel.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// Runs the game's start-up once in this process (the test window is current), then puts every
// object, toggle and the projection back to the start-up state for the next test.
void startGame();

// The overhead box the overlays use for an 800x600 window, with a deeper depth range when
// asked (the game's own range is 0 to 15).
void overheadProjection(double zNear = 0.0, double zFar = 15.0);
// Clears everything and draws one scene pass into the back buffer.
void renderScene(int passFlags);

// Window pixel of a world point under the current matrices and viewport.
void windowPoint(double x, double y, double z, int& wx, int& wy);
Rgb colourAt(double x, double y, double z);
int stencilAt(double x, double y, double z);
Rgb pixel(int wx, int wy);
Image readBackBuffer();
bool sameImage(const Image& a, const Image& b);

// Half size, each pixel the mean of a 2x2 block.
Image halve(const Image& image);
bool writePng(const std::string& path, const Image& image);
bool readPng(const std::string& path, Image& image);
