// The BMP reader and the texture loader's failure messages (no GL context needed for failures).
#include <sys/stat.h>

#include <cstdlib>
#include <memory>

#include "assets/bmp.h"
#include "assets/texture.h"
#include "assets_test_util.h"

// In the images the upload can read, blue and red change places within each row's pixels; the
// rows' padding stays.
TEST(BmpReader, ExchangesBlueAndRedInTheRowsItAccepts) {
    for (const BmpFields f : {BmpFields{5, 3, 24, 0, 48, 70}, BmpFields{64, 32}}) {
        BitmapInfoHeader info;
        const std::unique_ptr<unsigned char, decltype(&std::free)> pixels(
            readBitmap(writeAssetFile("read.bmp", makeBmp(f)).c_str(), &info), &std::free);
        ASSERT_TRUE(pixels && info.width * info.height == f.width * f.height) << f.width;
        const int rowBytes = (f.width * 3 + 3) / 4 * 4;
        for (int row = 0; row < f.height; ++row) {
            const unsigned char* p = pixels.get() + row * rowBytes;
            const int first = row * rowBytes, last = first + f.width * 3 - 3;
            EXPECT_EQ(
                std::vector<int>({p[0], p[1], p[2], p[last - first + 2]}),
                std::vector<int>({(first + 2) % 251, (first + 1) % 251, first % 251, last % 251}))
                << f.width << " " << row;
            EXPECT_TRUE(rowBytes == f.width * 3 || p[rowBytes - 1] == (first + rowBytes - 1) % 251)
                << row;
        }
    }
}

// Only 24-bit uncompressed images whose pixels the upload can read in full are accepted. A
// texture the loader cannot read prints "Failed to read the bitmap file" (after the reader's own
// line, where it has one), names the file and the reason on the error stream (mended: it used to
// say neither) and gives no texture. Mended: a folder in the file's place was called too short.
TEST(TextureLoader, AFileItCannotReadIsReportedAndGivesNoTexture) {
    auto bmp = [](BmpFields f) { return makeBmp(f); };
    std::string magic = makeBmp(BmpFields());
    magic[0] = 'P';
    const struct {
        std::string bytes; // empty: no file at all; "/": a folder
        bool sizeZeroLine; // the reader's own line about a size of 0
        const char* reason;
    } cases[] = {
        {"", false, "the file is missing"},
        {"/", false, "it is a folder"},
        {magic, false, "not a BMP file"},
        {makeBmp(BmpFields()).substr(0, 40), false, "the file is too short"},
        {bmp({4, 4, 24, 0, 48, 54, 47}), false, "the file is too short"},
        {bmp({4, 4, 24, 0, 0, 100000, 0}), false, "the file is too short"}, // offset past the end
        {bmp({4, 4, 32}), false, "not 24 bits per pixel"},
        {bmp({4, 4, 8, 0, 16}), false, "not 24 bits per pixel"},
        {bmp({4, 4, 24, 1, 48}), false, "compressed"},
        {bmp({-4, 4, 24, 0, 48, 54, 48}), false, "sizes out of range"},
        {bmp({4, -4, 24, 0, 48, 54, 48}), false, "sizes out of range"},
        {bmp({4, 0, 24, 0, 48, 54, 48}), false, "sizes out of range"},
        {bmp({0, 4}), true, "sizes out of range"},
        {bmp({0x7FFFFFFF, 0x7FFFFFFF, 24, 0, 12, 54, 12}), false, "sizes out of range"},
        {bmp({5, 4, 24, 0, 45}), false, "the header's image size is too short for its sizes"},
        // The computed size leaves out the rows' padding.
        {bmp({5, 3}), false, "the header's image size is too short for its sizes"},
    };
    for (const auto& c : cases) {
        std::string path = assetTempPath(c.bytes == "/" ? "folder.bmp" : "absent.bmp");
        if (c.bytes == "/") mkdir(path.c_str(), 0700);
        if (c.bytes.size() > 1) path = writeAssetFile("bad.bmp", c.bytes);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(loadTexture(path.c_str()), 0u) << c.reason;
        const std::string sizeZero =
            "ERROR: The bitmap file " + path + " has a calculated bit map size of 0\n";
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  (c.sizeZeroLine ? sizeZero : "") + "Failed to read the bitmap file\n");
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Cannot read the texture " + path + ": " + c.reason + ".\n");
    }
}
