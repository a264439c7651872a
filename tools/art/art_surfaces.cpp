// The felt and brick textures. Both tile without seams: every noise lattice and brick course
// wraps exactly at the image edge.
#include <cmath>

#include "art/art.h"

namespace {

constexpr int FELT_SIZE = 128; // texels per world unit
constexpr int FELT_CELL =
    4; // texels per noise cell: only fine grain, so no pattern repeats visibly
const Rgb FELT_GREEN{0.13f, 0.50f, 0.24f};

constexpr int BRICK_SIZE = 256;  // texels per tile (one fifth of a wall each way)
constexpr int BRICK_COURSES = 8; // even, so the half-brick offset joins across the edge
constexpr int BRICKS_PER_COURSE = 4;
constexpr int MORTAR = 4; // texels
const Rgb BRICK_RED{0.58f, 0.22f, 0.14f};
const Rgb BRICK_DARK{0.40f, 0.15f, 0.10f};
const Rgb MORTAR_GREY{0.66f, 0.63f, 0.58f};

} // namespace

bool writeFelt(const std::string& dir) {
    Image image(FELT_SIZE, FELT_SIZE);
    const int cells = FELT_SIZE / FELT_CELL;
    for (int y = 0; y < FELT_SIZE; ++y)
        for (int x = 0; x < FELT_SIZE; ++x) {
            const float grain =
                periodicNoise(float(x) / FELT_CELL, float(y) / FELT_CELL, cells, 11);
            const float fibre = hashUnit(uint32_t(x), uint32_t(y), 12);
            const float shade = 0.96f + 0.05f * grain + 0.03f * fibre;
            image.at(x, y) = {FELT_GREEN.r * shade, FELT_GREEN.g * shade, FELT_GREEN.b * shade};
        }
    return writeBmp(dir + "tablefelt.bmp", image);
}

bool writeBrickWall(const std::string& dir) {
    Image image(BRICK_SIZE, BRICK_SIZE);
    const int courseHeight = BRICK_SIZE / BRICK_COURSES,
              brickWidth = BRICK_SIZE / BRICKS_PER_COURSE;
    for (int y = 0; y < BRICK_SIZE; ++y) {
        const int course = y / courseHeight, inCourse = y % courseHeight;
        const int shift = (course % 2) * brickWidth / 2;
        for (int x = 0; x < BRICK_SIZE; ++x) {
            const int sx = (x + shift) % BRICK_SIZE;
            const int brick = sx / brickWidth, inBrick = sx % brickWidth;
            const float grit = periodicNoise(float(x) / 4, float(y) / 4, BRICK_SIZE / 4, 21);
            const bool mortar = inCourse < MORTAR || inBrick < MORTAR;
            if (mortar) {
                const float shade = 0.9f + 0.15f * grit;
                image.at(x, y) = {MORTAR_GREY.r * shade, MORTAR_GREY.g * shade,
                                  MORTAR_GREY.b * shade};
                continue;
            }
            // Each brick has its own tone, a little darker towards its edges.
            const float tone = hashUnit(uint32_t(course), uint32_t(brick), 22);
            const float edge =
                std::fmin(std::fmin(float(inCourse - MORTAR), float(courseHeight - 1 - inCourse)),
                          std::fmin(float(inBrick - MORTAR), float(brickWidth - 1 - inBrick)));
            const float rim = edge < 3.0f ? 0.9f + 0.033f * edge : 1.0f;
            const Rgb base = mix(BRICK_RED, BRICK_DARK, tone * 0.8f);
            const float shade = rim * (0.88f + 0.24f * grit);
            image.at(x, y) = {base.r * shade, base.g * shade, base.b * shade};
        }
    }
    return writeBmp(dir + "brickwall.bmp", image);
}
