// The skin's picture files, read by our own bounds-checked code before the system sees
// them. The system's loaders trust a file's headers: a bitmap shorter than its header
// promises, or an icon whose directory points past the end of the file, makes them read
// beyond the file (an unhandled page fault, no message). Every byte read here is first
// checked against the file's length, and every size against what it implies.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tessel::player {

enum class ImageProblem {
    None,
    NotABitmap,   // no "BM", or a header this reader does not know
    NotAnIcon,    // no icon directory, or an entry that is neither a bitmap nor PNG image
    Truncated,    // the file ends before the data its headers promise
    Empty,        // a side of 0
    TooLarge,     // a side beyond the limit
    Unsupported,  // a compression or depth that skins do not use (JPEG, PNG in a bitmap)
};

// A decoded bitmap: top row first, each pixel 0x00RRGGBB (as DibPixel encodes a key).
struct BmpImage {
    std::int32_t width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
};

// Decodes a whole .bmp file image: the core header (12 bytes) and the information
// headers (40 to 124 bytes); 1, 4 and 8 bits with a palette (also run-length encoded),
// 16 and 32 bits plain or with bit masks, 24 bits; rows bottom-up or top-down. Sides
// above `maxSide` are refused before any memory is taken for them. Palette indexes
// beyond the palette, and pixels a run-length encoding skips, are black. For TooLarge
// `out` holds the sides the header claims (and no pixels).
ImageProblem DecodeBmp(std::string_view file, std::int32_t maxSide, BmpImage& out);

// Checks an .ico file image: its directory, and that every image it lists lies within
// the file and holds the data its own header promises (bitmap images) or starts as a
// PNG image does. Sides are at most 256 by the format.
ImageProblem CheckIco(std::string_view file);

}  // namespace tessel::player
