// Pool ball textures and the ball mesh. Both use one mapping: u runs once round the equator
// (longitude 0 faces +z, growing towards +x), v from the south pole (0) to the north pole (1).
// Each texel's colour is decided at its point on the sphere, so the number discs come out round
// and their digits upright and undistorted on the ball.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "art/art.h"

namespace {

constexpr int TEXTURE_WIDTH = 512;  // texels round the equator
constexpr int TEXTURE_HEIGHT = 256; // texels pole to pole
constexpr int SUPERSAMPLES = 4;     // per texel side: smooth disc and digit edges
constexpr double PI = 3.14159265358979323846;
constexpr float DISC_RADIUS = 0.42f;       // seen head-on, in ball radii
constexpr float DIGIT_HEIGHT = 0.44f;      // ink height of the number, in ball radii
constexpr float STRIPE_HALF_HEIGHT = 0.5f; // the stripe covers |y| below this, in ball radii
constexpr float CUE_SPOT_RADIUS = 0.07f;   // the cue ball's small marks
constexpr int DIGIT_PIXEL_SIZE = 160;      // FreeType size of the digits before sampling

const Rgb WHITE{0.96f, 0.95f, 0.91f};
const Rgb INK{0.06f, 0.06f, 0.06f};
const Rgb CUE_SPOT{0.75f, 0.1f, 0.1f};
// Balls 1..8; 9..15 repeat 1..7 as stripes.
const Rgb BALL_COLOURS[8] = {
    {0.98f, 0.78f, 0.05f}, // 1 yellow
    {0.07f, 0.20f, 0.66f}, // 2 blue
    {0.84f, 0.10f, 0.12f}, // 3 red
    {0.36f, 0.14f, 0.55f}, // 4 purple
    {0.97f, 0.45f, 0.07f}, // 5 orange
    {0.04f, 0.47f, 0.22f}, // 6 green
    {0.49f, 0.08f, 0.12f}, // 7 maroon
    {0.07f, 0.07f, 0.07f}, // 8 black
};

struct Vec {
    float x, y, z;
};
float dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec spherePoint(double u, double v) {
    const double longitude = 2.0 * PI * u, latitude = PI * (v - 0.5);
    return {float(std::cos(latitude) * std::sin(longitude)), float(std::sin(latitude)),
            float(std::cos(latitude) * std::cos(longitude))};
}

// The number as ink coverage on a plane, centred on the origin, in ball radii.
class NumberStamp {
public:
    NumberStamp(const GlyphRenderer& glyphs, int number);
    float coverage(float x, float y) const; // 0..1

private:
    int width_ = 0, height_ = 0;
    std::vector<float> ink_; // rows top-down
    float centreX_ = 0, centreY_ = 0, pixelsPerRadius_ = 1;
};

NumberStamp::NumberStamp(const GlyphRenderer& glyphs, int number) {
    const std::string text = std::to_string(number);
    std::vector<GlyphBitmap> bitmaps;
    int penWidth = 0;
    for (char c : text) {
        bitmaps.push_back(glyphs.render(c));
        penWidth += bitmaps.back().advance;
    }
    width_ = penWidth + 2 * DIGIT_PIXEL_SIZE;
    height_ = 3 * DIGIT_PIXEL_SIZE;
    ink_.assign(size_t(width_) * size_t(height_), 0.0f);
    const int baseline = 2 * DIGIT_PIXEL_SIZE;
    int pen = DIGIT_PIXEL_SIZE, minX = width_, maxX = 0, minY = height_, maxY = 0;
    for (const GlyphBitmap& g : bitmaps) {
        for (int y = 0; y < g.rows; ++y)
            for (int x = 0; x < g.width; ++x) {
                const int cx = pen + g.left + x, cy = baseline - g.top + y;
                const float c = g.coverage[size_t(y * g.width + x)] / 255.0f;
                if (c <= 0.0f) continue;
                ink_[size_t(cy) * size_t(width_) + size_t(cx)] = c;
                minX = std::min(minX, cx), maxX = std::max(maxX, cx + 1);
                minY = std::min(minY, cy), maxY = std::max(maxY, cy + 1);
            }
        pen += g.advance;
    }
    centreX_ = 0.5f * float(minX + maxX);
    centreY_ = 0.5f * float(minY + maxY);
    pixelsPerRadius_ = float(maxY - minY) / DIGIT_HEIGHT;
}

float NumberStamp::coverage(float x, float y) const {
    const float px = centreX_ + x * pixelsPerRadius_ - 0.5f,
                py = centreY_ - y * pixelsPerRadius_ - 0.5f;
    const int ix = int(std::floor(px)), iy = int(std::floor(py));
    if (ix < 0 || iy < 0 || ix + 1 >= width_ || iy + 1 >= height_) return 0.0f;
    const float tx = px - float(ix), ty = py - float(iy);
    auto at = [this](int cx, int cy) { return ink_[size_t(cy) * size_t(width_) + size_t(cx)]; };
    const float top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * tx;
    const float bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}

// A disc faces along ±z; seen from outside, its right is ±x and its up is +y.
struct Disc {
    Vec centre, right;
};
const Disc DISCS[2] = {{{0, 0, 1}, {1, 0, 0}}, {{0, 0, -1}, {-1, 0, 0}}};

Rgb ballColour(const Vec& p, int number, const NumberStamp* stamp) {
    for (const Disc& disc : DISCS) {
        if (dot(p, disc.centre) <= 0.0f) continue;
        const float x = dot(p, disc.right), y = p.y;
        const float r2 = x * x + y * y;
        if (number == 0) {
            if (r2 < CUE_SPOT_RADIUS * CUE_SPOT_RADIUS) return CUE_SPOT;
        } else if (r2 < DISC_RADIUS * DISC_RADIUS) {
            return mix(WHITE, INK, stamp->coverage(x, y));
        }
    }
    if (number == 0) return WHITE;
    const Rgb& colour = BALL_COLOURS[(number - 1) % 8];
    if (number <= 8) return colour;
    return std::fabs(p.y) < STRIPE_HALF_HEIGHT ? colour : WHITE;
}

Image ballTexture(int number, const NumberStamp* stamp) {
    Image image(TEXTURE_WIDTH, TEXTURE_HEIGHT);
    const float weight = 1.0f / (SUPERSAMPLES * SUPERSAMPLES);
    for (int row = 0; row < TEXTURE_HEIGHT; ++row)
        for (int col = 0; col < TEXTURE_WIDTH; ++col) {
            Rgb sum;
            for (int sy = 0; sy < SUPERSAMPLES; ++sy)
                for (int sx = 0; sx < SUPERSAMPLES; ++sx) {
                    const double u = (col + (sx + 0.5) / SUPERSAMPLES) / TEXTURE_WIDTH;
                    const double v = (row + (sy + 0.5) / SUPERSAMPLES) / TEXTURE_HEIGHT;
                    const Rgb c = ballColour(spherePoint(u, v), number, stamp);
                    sum = {sum.r + c.r * weight, sum.g + c.g * weight, sum.b + c.b * weight};
                }
            image.at(col, row) = sum;
        }
    return image;
}

} // namespace

bool writeBallTextures(const std::string& dir, const std::string& fontDir) {
    const GlyphRenderer digits(fontDir + "DejaVuSansCondensed-Bold.ttf", DIGIT_PIXEL_SIZE);
    if (!digits.ok()) {
        std::fprintf(stderr, "pool-art: cannot load the digits font from %s\n", fontDir.c_str());
        return false;
    }
    for (int number = 0; number <= 15; ++number) {
        const NumberStamp stamp(digits, number);
        const std::string path = dir + "ball" + std::to_string(number) + ".bmp";
        if (!writeBmp(path, ballTexture(number, number == 0 ? nullptr : &stamp))) return false;
    }
    return true;
}

namespace {
constexpr int SLICES = 32; // round the equator
constexpr int STACKS = 24; // pole to pole: 2 x 32 x 23 = 1472 triangles
} // namespace

// A UV sphere of radius 1. Positions are shared (one per pole), so the normals come out smooth;
// texture coordinates are doubled along the seam and given per cap triangle at the poles, so
// neither shows.
bool writeBallMesh(const std::string& dir) {
    std::FILE* mtl = std::fopen((dir + "ball.mtl").c_str(), "w");
    if (mtl == nullptr) return false;
    std::fprintf(mtl, "# Pool ball material\nnewmtl ball\nKa 0.2 0.2 0.2\nKd 1.0 1.0 1.0\n"
                      "Ks 1.0 1.0 1.0\nNs 781.25\n");
    if (std::fclose(mtl) != 0) return false;

    std::FILE* obj = std::fopen((dir + "ball.obj").c_str(), "w");
    if (obj == nullptr) return false;
    std::fprintf(obj, "# Pool ball: UV sphere of radius 1, %d slices, %d stacks\nmtllib ball.mtl\n",
                 SLICES, STACKS);
    // Vertices: south pole (1), rings 1..STACKS-1 (SLICES each), north pole.
    std::fprintf(obj, "v 0.000000 -1.000000 0.000000\n");
    for (int i = 1; i < STACKS; ++i)
        for (int j = 0; j < SLICES; ++j) {
            const Vec p = spherePoint(double(j) / SLICES, double(i) / STACKS);
            std::fprintf(obj, "v %.6f %.6f %.6f\n", double(p.x), double(p.y), double(p.z));
        }
    std::fprintf(obj, "v 0.000000 1.000000 0.000000\n");
    // Texture coordinates: rings (SLICES + 1 each, the seam doubled), then one per cap triangle.
    for (int i = 1; i < STACKS; ++i)
        for (int j = 0; j <= SLICES; ++j)
            std::fprintf(obj, "vt %.6f %.6f\n", double(j) / SLICES, double(i) / STACKS);
    for (int pole = 0; pole < 2; ++pole)
        for (int j = 0; j < SLICES; ++j)
            std::fprintf(obj, "vt %.6f %.1f\n", (j + 0.5) / SLICES, double(pole));

    const int northPole = 2 + (STACKS - 1) * SLICES;
    auto ring = [](int i, int j) { return 2 + (i - 1) * SLICES + (j % SLICES); };
    auto ringTex = [](int i, int j) { return 1 + (i - 1) * (SLICES + 1) + j; };
    auto poleTex = [](int pole, int j) {
        return 1 + (STACKS - 1) * (SLICES + 1) + pole * SLICES + j;
    };
    std::fprintf(obj, "g ball\nusemtl ball\n");
    // Counter-clockwise seen from outside: u grows to the right, v upwards.
    for (int j = 0; j < SLICES; ++j)
        std::fprintf(obj, "f %d/%d %d/%d %d/%d\n", 1, poleTex(0, j), ring(1, j + 1),
                     ringTex(1, j + 1), ring(1, j), ringTex(1, j));
    for (int i = 1; i < STACKS - 1; ++i)
        for (int j = 0; j < SLICES; ++j) {
            const int ll = ring(i, j), lr = ring(i, j + 1), ur = ring(i + 1, j + 1),
                      ul = ring(i + 1, j);
            const int tll = ringTex(i, j), tlr = ringTex(i, j + 1), tur = ringTex(i + 1, j + 1),
                      tul = ringTex(i + 1, j);
            std::fprintf(obj, "f %d/%d %d/%d %d/%d\n", ll, tll, lr, tlr, ur, tur);
            std::fprintf(obj, "f %d/%d %d/%d %d/%d\n", ll, tll, ur, tur, ul, tul);
        }
    for (int j = 0; j < SLICES; ++j)
        std::fprintf(obj, "f %d/%d %d/%d %d/%d\n", ring(STACKS - 1, j), ringTex(STACKS - 1, j),
                     ring(STACKS - 1, j + 1), ringTex(STACKS - 1, j + 1), northPole, poleTex(1, j));
    return std::fclose(obj) == 0;
}

namespace {
constexpr int ICON_SUPERSAMPLES = 4;           // per pixel side: a smooth rim
constexpr float ICON_MARGIN = 0.04f;           // of the icon's side, round the ball
const Vec ICON_LIGHT = {-0.45f, 0.55f, 0.70f}; // towards the light: upper left, in front
constexpr float ICON_AMBIENT = 0.35f;
constexpr float ICON_SHINE = 0.6f; // strength of the highlight
constexpr float ICON_SHININESS = 40.0f;

// The lit colour of the ball at the visible point p, the viewer on +z.
Rgb shadedIconColour(const Vec& p, int number, const NumberStamp& stamp) {
    const Rgb base = ballColour({p.x, p.y, p.z}, number, number == 0 ? nullptr : &stamp);
    const float length = std::sqrt(dot(ICON_LIGHT, ICON_LIGHT));
    const Vec light = {ICON_LIGHT.x / length, ICON_LIGHT.y / length, ICON_LIGHT.z / length};
    const float diffuse = std::max(0.0f, dot(p, light));
    const Vec half = {light.x, light.y, light.z + 1.0f};
    const float halfLength = std::sqrt(dot(half, half));
    const float specular =
        ICON_SHINE * std::pow(std::max(0.0f, dot(p, half) / halfLength), ICON_SHININESS);
    const float k = ICON_AMBIENT + (1.0f - ICON_AMBIENT) * diffuse;
    return {base.r * k + specular, base.g * k + specular, base.b * k + specular};
}
} // namespace

bool writeBallIcon(const std::string& path, int number, int size, const std::string& fontDir) {
    const GlyphRenderer digits(fontDir + "DejaVuSansCondensed-Bold.ttf", DIGIT_PIXEL_SIZE);
    if (!digits.ok() || size <= 0) return false;
    const NumberStamp stamp(digits, number);
    RgbaImage icon{size, size, std::vector<uint8_t>(size_t(size) * size_t(size) * 4)};
    const float radius = 0.5f * float(size) * (1.0f - 2.0f * ICON_MARGIN); // pixels
    const float n = ICON_SUPERSAMPLES;
    for (int row = 0; row < size; ++row)
        for (int col = 0; col < size; ++col) {
            Rgb sum;
            float covered = 0.0f;
            for (int sy = 0; sy < ICON_SUPERSAMPLES; ++sy)
                for (int sx = 0; sx < ICON_SUPERSAMPLES; ++sx) {
                    const float x = (col + (sx + 0.5f) / n - 0.5f * size) / radius;
                    const float y = (0.5f * size - row - (sy + 0.5f) / n) / radius;
                    const float r2 = x * x + y * y;
                    if (r2 >= 1.0f) continue;
                    const Rgb c = shadedIconColour({x, y, std::sqrt(1.0f - r2)}, number, stamp);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                    covered += 1.0f;
                }
            uint8_t* out = &icon.bytes[(size_t(row) * size_t(size) + size_t(col)) * 4];
            if (covered == 0.0f) continue; // transparent black
            const float channels[3] = {sum.r, sum.g, sum.b};
            for (int c = 0; c < 3; ++c)
                out[c] = uint8_t(std::lround(std::min(1.0f, channels[c] / covered) * 255.0f));
            out[3] = uint8_t(std::lround(covered / (n * n) * 255.0f));
        }
    return writePng(path, icon);
}
