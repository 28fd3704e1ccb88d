// Our own reader of the skins' bitmap and icon files: every depth and header kind gives
// the same colours, and every file that is shorter than its headers promise, or claims
// absurd sides, is refused before anything is read or allocated for it.
#include "player/skin/image_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tessel::player {
namespace {

void Put(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A bitmap file: `pixels` are the already encoded rows (bottom row first unless
// topDown), each padded to 4 bytes by the caller.
struct Bmp {
    std::uint32_t headerSize = 40;
    std::int32_t width = 2, height = 2;
    std::uint32_t bits = 24, compression = 0, used = 0, compressedSize = 0;
    std::vector<std::uint32_t> palette;   // 0x00RRGGBB
    std::vector<std::uint32_t> masks;     // after a 40-byte header, or inside larger ones
    std::string pixels;

    std::string File() const {
        std::string header;
        const int side = headerSize == 12 ? 2 : 4;
        for (auto [value, bytes] : {std::pair<std::uint64_t, int>{std::uint32_t(width), side}, {std::uint32_t(height), side},
                                    {1, 2}, {bits, 2}})
            Put(header, value, bytes);
        if (headerSize > 12)
            for (std::uint32_t value : {compression, compressedSize, 2835u, 2835u, used, 0u}) Put(header, value, 4);
        if (headerSize > 40) {
            for (std::uint32_t m : masks) Put(header, m, 4);
            header.resize(headerSize - 4, '\0');
        }
        std::string extra;
        if (headerSize == 40)
            for (std::uint32_t m : masks) Put(extra, m, 4);
        for (std::uint32_t c : palette) Put(extra, c, headerSize == 12 ? 3 : 4);
        std::string file = "BM";
        const std::uint32_t at = 14 + headerSize + std::uint32_t(extra.size());
        for (std::uint64_t value : {at + pixels.size(), std::uint64_t{0}, std::uint64_t{at}, std::uint64_t{headerSize}})
            Put(file, value, 4);
        return file + header + extra + pixels;
    }
};

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

// The 2 x 2 picture every format below encodes: red, green on top; blue, white below.
const std::vector<std::uint32_t> kPicture{kRed, kGreen, kBlue, kWhite};

ImageProblem Decode(const std::string& file, BmpImage& image, std::int32_t maxSide = 8192) {
    return DecodeBmp(file, maxSide, image);
}

// The plain kinds (the 40-byte header, uncompressed, 1, 4, 8, 24 and 32 bits, either
// way up) are checked pixel by pixel against a slow reference by the fuzz target, from
// a seed of each kind; here the other headers, bit fields and run-length coding.
TEST(DecodeBmp, EveryOtherHeaderAndCodingGivesTheSameColours) {
    std::vector<std::pair<const char*, Bmp>> cases;
    Bmp core;  // 24 bits, bottom-up
    core.headerSize = 12;
    core.pixels = std::string("\xFF\x00\x00\xFF\xFF\xFF\x00\x00", 8) + std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);
    cases.push_back({"core header", core});
    {
        Bmp b;
        b.bits = 32;
        b.compression = 3;  // bit fields in another order: blue high, red low
        b.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
        b.pixels = std::string("\x00\x00\xFF\x00\xFF\xFF\xFF\x00\xFF\x00\x00\x00\x00\xFF\x00\x00", 16);
        cases.push_back({"32-bit bit fields", b});
        b.headerSize = 108;
        cases.push_back({"32-bit bit fields in a version 4 header", b});
    }
    {
        Bmp b;  // 16 bits, 5-5-5: 0x7C00 red, 0x03E0 green, 0x001F blue
        b.bits = 16;
        b.pixels = std::string("\x1F\x00\xFF\x7F", 4) + std::string("\x00\x7C\xE0\x03", 4);
        cases.push_back({"16-bit 5-5-5", b});
        b.compression = 3;  // 5-6-5
        b.masks = {0xF800, 0x07E0, 0x001F};
        b.pixels = std::string("\x1F\x00\xFF\xFF", 4) + std::string("\x00\xF8\xE0\x07", 4);
        cases.push_back({"16-bit 5-6-5", b});
    }
    {
        Bmp b;  // palettes: indexes into {black, red, green, blue, white}
        b.bits = 4;
        b.palette = {0, kRed, kGreen, kBlue, kWhite};
        b.palette.resize(16);
        b.compression = 2;  // RLE4: a run of two alternating nibbles per row
        b.pixels = std::string("\x02\x34\x00\x00\x02\x12\x00\x01", 8);
        cases.push_back({"4-bit run-length", b});
        // RLE8: the bottom row as two runs of one; the top row in absolute mode (three
        // pixels, the third beyond the row, padded to a whole word), then the end mark.
        b.bits = 8;
        b.palette.resize(5);
        b.used = 5;
        b.compression = 1;
        b.pixels = std::string("\x01\x03\x01\x04\x00\x00", 6) + std::string("\x00\x03\x01\x02\x00\x00\x00\x01", 8);
        cases.push_back({"8-bit run-length", b});
    }
    for (auto& [name, bmp] : cases) {
        SCOPED_TRACE(name);
        BmpImage image;
        ASSERT_EQ(Decode(bmp.File(), image), ImageProblem::None);
        EXPECT_EQ(image.width, 2);
        EXPECT_EQ(image.height, 2);
        EXPECT_EQ(image.pixels, kPicture);
    }
}

TEST(DecodeBmp, AFileShorterThanItsHeadersPromiseIsRefused) {
    Bmp b;
    b.width = 3;  // 9 bytes of pixels, 12 with the row padding
    b.pixels = std::string(24, '\x10');
    const std::string whole = b.File();
    BmpImage image;
    EXPECT_EQ(Decode(whole, image), ImageProblem::None);
    // Pixels or a palette cut short, or said to start beyond the end, in a plain bitmap:
    // the fuzz target's seeds. Here the headers themselves, and what only other kinds hold.
    EXPECT_EQ(Decode(whole.substr(0, whole.size() - 12), image), ImageProblem::Truncated) << "one row short";
    EXPECT_EQ(Decode(whole.substr(0, 14 + 39), image), ImageProblem::Truncated);
    EXPECT_EQ(Decode(whole.substr(0, 17), image), ImageProblem::Truncated);
    Bmp m;
    m.bits = 16;
    m.compression = 3;
    m.masks = {0xF800, 0x07E0, 0x001F};
    EXPECT_EQ(Decode(m.File().substr(0, 14 + 40 + 11), image), ImageProblem::Truncated);
    // A run-length picture shorter than its stated compressed size.
    Bmp r;
    r.bits = 8;
    r.compression = 1;
    r.palette = {kRed};
    r.used = 1;
    r.pixels = std::string("\x02\x00\x00\x01", 4);
    r.compressedSize = 5;
    EXPECT_EQ(Decode(r.File(), image), ImageProblem::Truncated);
    r.compressedSize = 4;
    EXPECT_EQ(Decode(r.File(), image), ImageProblem::None);
}

TEST(DecodeBmp, SidesAreCheckedBeforeAnythingIsRead) {
    BmpImage image;
    Bmp b;
    b.width = b.height = 8;
    b.pixels = std::string(8 * 24, '\0');
    EXPECT_EQ(Decode(b.File(), image, 8), ImageProblem::None);
    b.width = 9;
    EXPECT_EQ(Decode(b.File(), image, 8), ImageProblem::TooLarge);
    EXPECT_EQ(image.width, 9);
    b.width = 8;
    b.height = -9;
    EXPECT_EQ(Decode(b.File(), image, 8), ImageProblem::TooLarge);
    EXPECT_EQ(image.height, 9);
    EXPECT_TRUE(image.pixels.empty());
    // 100,000 x 100,000 in a file of a few bytes: refused for its sides, not read.
    b.width = b.height = 100000;
    b.pixels.clear();
    EXPECT_EQ(Decode(b.File(), image), ImageProblem::TooLarge);
    EXPECT_EQ(image.width, 100000);
    b.width = 1;
    b.height = INT32_MIN;
    EXPECT_EQ(Decode(b.File(), image), ImageProblem::TooLarge);
    b.height = 0;
    EXPECT_EQ(Decode(b.File(), image), ImageProblem::Empty);
    b.height = 1;
    b.width = -1;
    EXPECT_EQ(Decode(b.File(), image), ImageProblem::NotABitmap);
}

TEST(DecodeBmp, WhatIsNoBitmapOrNotForSkins) {
    BmpImage image;
    Bmp b;
    b.pixels = std::string(16, '\0');
    std::string file = b.File();
    EXPECT_EQ(Decode("", image), ImageProblem::NotABitmap);
    EXPECT_EQ(Decode("BA" + file.substr(2), image), ImageProblem::NotABitmap);
    b.compression = 4;  // a JPEG inside
    EXPECT_EQ(Decode(b.File(), image), ImageProblem::Unsupported);
    b.compression = 7;
    EXPECT_EQ(Decode(b.File(), image), ImageProblem::NotABitmap);
    b.compression = 1;  // run-length coding with 24 bits per pixel
    EXPECT_EQ(Decode(b.File(), image), ImageProblem::NotABitmap);
    b.compression = 0;
    b.bits = 2;
    EXPECT_EQ(Decode(b.File(), image), ImageProblem::NotABitmap);
    b.bits = 24;
    b.headerSize = 64;  // another system's header
    EXPECT_EQ(Decode(b.File(), image), ImageProblem::NotABitmap);
    file = Bmp{}.File();
    file[26] = 2;  // two planes
    EXPECT_EQ(Decode(file, image), ImageProblem::NotABitmap);
}

// (An index beyond the palette is black: the fuzz target's seed of a plain bitmap.)
TEST(DecodeBmp, RunLengthRunsBeyondTheRowAreDroppedAndSkippedPixelsBlack) {
    Bmp b;
    b.bits = 8;
    b.width = 3;
    b.palette = {kRed, kGreen};
    b.used = 2;
    // A run longer than the row, a move, and no end mark before the data ends.
    b.compression = 1;
    b.pixels = std::string("\x05\x01\x00\x00\x00\x02\x01\x00\x01\x00", 10);
    BmpImage image;
    ASSERT_EQ(Decode(b.File(), image), ImageProblem::None);
    // Bottom row: three of the five green pixels; next row, one to the right: red.
    EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{0, kRed, 0, kGreen, kGreen, kGreen}));
}

// Icons: the system's loader follows the directory's offsets and the images' headers.
struct Ico {
    std::vector<std::string> images;
    std::string File(std::int64_t sizeChange = 0) const {
        std::string out;
        Put(out, 0, 2);
        Put(out, 1, 2);
        Put(out, images.size(), 2);
        std::size_t at = 6 + 16 * images.size();
        for (const std::string& image : images) {
            out += std::string("\x10\x10\x00\x00\x01\x00\x20\x00", 8);
            Put(out, std::uint64_t(std::int64_t(image.size()) + sizeChange), 4);
            Put(out, at, 4);
            at += image.size();
        }
        for (const std::string& image : images) out += image;
        return out;
    }
};

std::string IconImage(int side, int bits) {
    std::string image;
    for (auto [value, bytes] : {std::pair<std::uint32_t, int>{40, 4}, {side, 4}, {side * 2, 4}, {1, 2}, {bits, 2}})
        Put(image, value, bytes);
    image += std::string(24, '\0');
    if (bits <= 8) image += std::string(4u << bits, '\0');
    const std::size_t colour = (std::size_t(side) * bits + 31) / 32 * 4, mask = (std::size_t(side) + 31) / 32 * 4;
    image += std::string((colour + mask) * std::size_t(side), '\0');
    return image;
}

std::string PngImage(std::uint32_t side) {
    std::string image("\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR", 16);
    for (int i = 3; i >= 0; --i) image.push_back(static_cast<char>(side >> (8 * i)));
    for (int i = 3; i >= 0; --i) image.push_back(static_cast<char>(side >> (8 * i)));
    image += std::string(9, '\0');
    return image;
}

TEST(CheckIco, EveryImageMustLieWithinTheFileAndHoldWhatItsHeaderSays) {
    Ico ico{{IconImage(16, 32), IconImage(32, 4), PngImage(256)}};
    EXPECT_EQ(CheckIco(ico.File()), ImageProblem::None);
    // An entry one byte longer than the file, or the file one byte short.
    EXPECT_EQ(CheckIco(ico.File(1)), ImageProblem::Truncated);
    const std::string whole = ico.File();
    EXPECT_EQ(CheckIco(whole.substr(0, whole.size() - 1)), ImageProblem::Truncated);
    EXPECT_EQ(CheckIco(whole.substr(0, 6 + 16 * 3 - 1)), ImageProblem::Truncated);  // the directory
    // A bitmap image one byte short of its AND mask, or of its palette.
    for (const std::string& short_ : {IconImage(16, 32), IconImage(16, 8)}) {
        Ico cut{{short_.substr(0, short_.size() - 1)}};
        EXPECT_EQ(CheckIco(cut.File()), ImageProblem::Truncated);
    }
    EXPECT_EQ(CheckIco(Ico{{IconImage(256, 1)}}.File()), ImageProblem::None);
    EXPECT_EQ(CheckIco(Ico{{IconImage(257, 1)}}.File()), ImageProblem::TooLarge);
    EXPECT_EQ(CheckIco(Ico{{PngImage(257)}}.File()), ImageProblem::TooLarge);
    EXPECT_EQ(CheckIco(Ico{{PngImage(16).substr(0, 32)}}.File()), ImageProblem::Truncated);
    EXPECT_EQ(CheckIco(Ico{{}}.File()), ImageProblem::Empty);
    std::string cursor = ico.File();
    cursor[2] = 2;
    EXPECT_EQ(CheckIco(cursor), ImageProblem::NotAnIcon);
    EXPECT_EQ(CheckIco("BM"), ImageProblem::NotAnIcon);
}

}  // namespace
}  // namespace tessel::player
