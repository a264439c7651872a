// BMP reader and the shared texture loader's failure path (no GL context needed for failures).
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "assets/bmp.h"
#include "assets_test_util.h"
#include "sim/scene_object.h"

namespace {

struct BmpFields {
    int32_t width = 4;
    int32_t height = 4;
    uint16_t bitsPerPixel = 24;
    uint32_t compression = 0;
    uint32_t imageSize = 0;       // written as is; 0 = "compute it"
    uint32_t dataOffset = 54;
    int64_t pixelBytes = -1;      // bytes of pixel data actually present; -1 = padded rows x height
};

// Pixel byte i holds i % 251, so every position is recognisable.
std::string makeBmp(const BmpFields& f) {
    std::string out = "BM";
    appendLittleEndian(out, 0, 4);
    appendLittleEndian(out, 0, 4);
    appendLittleEndian(out, f.dataOffset, 4);
    appendLittleEndian(out, 40, 4);
    appendLittleEndian(out, uint32_t(f.width), 4);
    appendLittleEndian(out, uint32_t(f.height), 4);
    appendLittleEndian(out, 1, 2);
    appendLittleEndian(out, f.bitsPerPixel, 2);
    appendLittleEndian(out, f.compression, 4);
    appendLittleEndian(out, f.imageSize, 4);
    for (int i = 0; i < 4; ++i) appendLittleEndian(out, 0, 4);
    out.resize(f.dataOffset, '\x7F');
    const int64_t bytes = f.pixelBytes >= 0 ? f.pixelBytes : ((int64_t(f.width) * 3 + 3) & ~3) * f.height;
    for (int64_t i = 0; i < bytes; ++i) out.push_back(char(i % 251));
    return out;
}

using Pixels = std::unique_ptr<unsigned char, decltype(&std::free)>;

Pixels read(const std::string& name, const BmpFields& f, BitmapInfoHeader* info = nullptr) {
    BitmapInfoHeader scratch;
    const std::string path = writeAssetFile(name, makeBmp(f));
    return Pixels(readBitmap(path.c_str(), info ? info : &scratch), &std::free);
}

struct TexturedThing : SceneObject {
    void draw(bool, bool, bool, int) override {}
};

std::string loadTextureOutput(const std::string& path, unsigned int* textureId) {
    TexturedThing thing;
    std::snprintf(thing.textureFile, sizeof thing.textureFile, "%s", path.c_str());
    testing::internal::CaptureStdout();
    thing.loadTexture();
    *textureId = thing.textureId;
    return testing::internal::GetCapturedStdout();
}

} // namespace

TEST(BmpReader, ExchangesBlueAndRedInEveryPixel) {
    BmpFields f;
    f.imageSize = 48;
    BitmapInfoHeader info;
    Pixels pixels = read("bgr.bmp", f, &info);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(info.width, 4);
    EXPECT_EQ(info.height, 4);
    for (int i = 0; i < 48; i += 3) {
        EXPECT_EQ(pixels.get()[i], i + 2);
        EXPECT_EQ(pixels.get()[i + 1], i + 1);
        EXPECT_EQ(pixels.get()[i + 2], i);
    }
}

TEST(BmpReader, ComputesTheSizeWhenTheHeaderGivesNone) {
    BmpFields f;
    f.width = 64;
    f.height = 32;
    Pixels pixels = read("computed.bmp", f);
    ASSERT_TRUE(pixels);
    // The last pixel (bytes 6141..6143) is read and exchanged.
    EXPECT_EQ(pixels.get()[6143], 6141 % 251);
    EXPECT_EQ(pixels.get()[6141], 6143 % 251);
}

TEST(BmpReader, HonoursTheDataOffset) {
    BmpFields f;
    f.dataOffset = 70;
    Pixels pixels = read("offset.bmp", f);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(pixels.get()[0], 2);
    EXPECT_EQ(pixels.get()[2], 0);
}

// Rows of 5 pixels carry one padding byte; the exchange stays inside each row's pixels.
TEST(BmpReader, ExchangesColoursRowByRowAcrossPadding) {
    BmpFields f;
    f.width = 5;
    f.height = 3;
    f.imageSize = 48;
    Pixels pixels = read("padded.bmp", f);
    ASSERT_TRUE(pixels);
    for (int row = 0; row < 3; ++row) {
        const int start = row * 16;
        EXPECT_EQ(pixels.get()[start], start + 2) << row;
        EXPECT_EQ(pixels.get()[start + 2], start) << row;
        EXPECT_EQ(pixels.get()[start + 15], start + 15) << "padding byte of row " << row;
    }
}

TEST(BmpReader, RejectsWhatTheUploadWouldReadPast) {
    struct Case {
        const char* what;
        BmpFields fields;
    };
    std::vector<Case> cases;
    auto add = [&cases](const char* what, auto change) {
        BmpFields f;
        change(f);
        cases.push_back({what, f});
    };
    add("32 bits per pixel", [](BmpFields& f) { f.bitsPerPixel = 32; });
    add("8 bits per pixel with a palette", [](BmpFields& f) { f.bitsPerPixel = 8; f.imageSize = 16; });
    add("compressed", [](BmpFields& f) { f.compression = 1; f.imageSize = 48; });
    add("negative height", [](BmpFields& f) { f.height = -4; f.imageSize = 48; f.pixelBytes = 48; });
    add("zero height with a stated size", [](BmpFields& f) { f.height = 0; f.imageSize = 48; f.pixelBytes = 48; });
    add("negative width", [](BmpFields& f) { f.width = -4; f.imageSize = 48; f.pixelBytes = 48; });
    add("stated size below the padded rows", [](BmpFields& f) { f.width = 5; f.imageSize = 45; });
    add("computed size without row padding", [](BmpFields& f) { f.width = 5; f.height = 3; });
    add("file shorter than its pixel data", [](BmpFields& f) { f.imageSize = 48; f.pixelBytes = 47; });
    add("offset past the end of the file", [](BmpFields& f) { f.dataOffset = 100000; f.pixelBytes = 0; });
    add("sizes that overflow 32 bits", [](BmpFields& f) {
        f.width = 0x7FFFFFFF;
        f.height = 0x7FFFFFFF;
        f.imageSize = 12;
        f.pixelBytes = 12;
    });
    add("computed size that overflows", [](BmpFields& f) {
        f.width = 0x10000;
        f.height = 0x10000;
        f.pixelBytes = 12;
    });
    for (const Case& c : cases) EXPECT_FALSE(read("rejected.bmp", c.fields)) << c.what;
}

TEST(TextureLoader, SizeZeroPrintsBothLinesAndKeepsTheObjectUntextured) {
    BmpFields f;
    f.width = 0;
    const std::string path = writeAssetFile("empty.bmp", makeBmp(f));
    unsigned int textureId = 1;
    const std::string out = loadTextureOutput(path, &textureId);
    EXPECT_EQ(out, "ERROR: The bitmap file " + path + " has a calculated bit map size of 0\n"
                   "Failed to read the bitmap file\n");
    EXPECT_EQ(textureId, 0u);
}

TEST(TextureLoader, BadMagicOrMissingFilePrintsOnlyTheFailure) {
    std::string bytes = makeBmp(BmpFields());
    bytes[0] = 'P';
    unsigned int textureId = 1;
    EXPECT_EQ(loadTextureOutput(writeAssetFile("magic.bmp", bytes), &textureId), "Failed to read the bitmap file\n");
    EXPECT_EQ(loadTextureOutput(assetTempPath("missing.bmp"), &textureId), "Failed to read the bitmap file\n");
    EXPECT_EQ(textureId, 0u);
}

// Mended: a texture that could not be read used to be reported without its file or the reason.
TEST(TextureLoader, NamesTheFileAndTheReasonOnTheErrorStream) {
    auto bmp = [](auto change) {
        BmpFields f;
        change(f);
        return makeBmp(f);
    };
    std::string magic = makeBmp(BmpFields());
    magic[0] = 'P';
    const struct {
        std::string bytes; // empty: no file at all
        const char* reason;
    } cases[] = {
        {"", "the file is missing"},
        {magic, "not a BMP file"},
        {makeBmp(BmpFields()).substr(0, 40), "the file is too short"},
        {bmp([](BmpFields& f) { f.pixelBytes = 47; }), "the file is too short"},
        {bmp([](BmpFields& f) { f.bitsPerPixel = 32; }), "not 24 bits per pixel"},
        {bmp([](BmpFields& f) { f.compression = 1; f.imageSize = 48; }), "compressed"},
        {bmp([](BmpFields& f) { f.width = -4; f.imageSize = 48; f.pixelBytes = 48; }),
         "sizes out of range"},
        {bmp([](BmpFields& f) { f.width = 5; f.imageSize = 45; }),
         "the header's image size is too short for its sizes"},
    };
    for (const auto& c : cases) {
        const std::string path =
            c.bytes.empty() ? assetTempPath("absent.bmp") : writeAssetFile("bad.bmp", c.bytes);
        unsigned int textureId = 1;
        testing::internal::CaptureStderr();
        EXPECT_EQ(loadTextureOutput(path, &textureId), "Failed to read the bitmap file\n");
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Cannot read the texture " + path + ": " + c.reason + ".\n");
    }
}
