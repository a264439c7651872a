// Shared pieces of the art generator: RGB images, BMP writing and deterministic noise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    float r = 0.0f, g = 0.0f, b = 0.0f; // 0..1
};

Rgb mix(const Rgb& a, const Rgb& b, float t);

// Rows bottom-up, as BMP files and GL textures store them.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Image(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h)) {}
    Rgb& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Writes a 24-bit uncompressed BMP; false when the file cannot be written.
bool writeBmp(const std::string& path, const Image& image);

// Integer hash mapped to 0..1: the same on every run and every machine.
float hashUnit(uint32_t a, uint32_t b, uint32_t seed);
// Smooth value noise on a lattice that wraps every `period` cells, so tiles join seamlessly.
float periodicNoise(float x, float y, int period, uint32_t seed);

// Each art file, written into dir (which ends in '/'). False on a write failure.
bool writeBallTextures(const std::string& dir, const std::string& fontDir);
bool writeBallMesh(const std::string& dir);
bool writeFelt(const std::string& dir);
bool writeBrickWall(const std::string& dir);
bool writeTextureFont(const std::string& dir, const std::string& fontDir);

// The desktop icon: ball `number` seen from the front, `size` pixels square, written as a PNG
// with a transparent surround. False on a write failure or when the digits font is missing.
bool writeBallIcon(const std::string& path, int number, int size, const std::string& fontDir);

// Rows top-down, four bytes per pixel (red, green, blue, straight alpha).
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes;
};
// Writes an 8-bit RGBA PNG, compressed; false when it cannot.
bool writePng(const std::string& path, const RgbaImage& image);

// One rendered glyph: coverage rows top-down, placed relative to the pen on the baseline.
struct GlyphBitmap {
    int width = 0, rows = 0; // pixels
    int left = 0, top = 0;   // box left from the pen, box top above the baseline
    int advance = 0;         // pixels
    std::vector<uint8_t> coverage;
};

// Renders characters of one font file at one pixel size (anti-aliased, hinted).
class GlyphRenderer {
public:
    GlyphRenderer(const std::string& fontFile, int pixelSize);
    ~GlyphRenderer();
    GlyphRenderer(const GlyphRenderer&) = delete;
    GlyphRenderer& operator=(const GlyphRenderer&) = delete;

    bool ok() const { return face_ != nullptr; }
    GlyphBitmap render(char c) const;

private:
    void* library_ = nullptr; // FT_Library
    void* face_ = nullptr;    // FT_Face
};
