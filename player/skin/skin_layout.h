// The skin's layout file define.ini: five positional lines of comma-separated numbers.
//
//   line 1  width, height                 skin window size in pixels (may carry a fraction)
//   line 2  red, green, blue              key colour of s_mask.bmp
//   line 3  red, green, blue              key colour of p_mask.bmp
//   line 4  red, green, blue              text colour of the body window's labels
//   line 5  vertical, horizontal offset   where the body window sits against the skin window
//
// Only the first five lines are read and only the fields a line needs; anything after
// them is ignored. Every field is a decimal number with optional surrounding spaces.
// Whole-number fields round a fraction half to even, as the conversion to an integer
// always does here. A layout that cannot be used (too few lines or fields, a field that
// is no number, a colour outside 0..255, a window size that rounds to nothing or is
// beyond any screen) is rejected with the line, the field and what was expected.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/twips.h"

namespace tessel::player {

inline constexpr std::size_t kSkinLayoutLines = 5;
// The largest skin window side accepted, in pixels: beyond every real screen, and small
// enough that scanning its mask stays cheap.
inline constexpr std::int32_t kMaxSkinSide = 8192;

struct RgbColour {
    std::int32_t red = 0, green = 0, blue = 0;
};

// The platform's colour value: red + 256 * green + 65536 * blue.
constexpr std::uint32_t ColourValue(const RgbColour& c) {
    return std::uint32_t(c.red) + 256u * std::uint32_t(c.green) + 65536u * std::uint32_t(c.blue);
}

struct SkinLayout {
    double skinWidth = 0, skinHeight = 0;  // line 1, pixels, as written
    RgbColour skinKey;                     // line 2
    RgbColour playerKey;                   // line 3
    RgbColour textColour;                  // line 4
    std::int32_t playerOffsetY = 0;        // line 5, field 1
    std::int32_t playerOffsetX = 0;        // line 5, field 2

    // The size of the mask scan: line 1 rounded half to even.
    std::int32_t ScanWidth() const { return RoundHalfEven(skinWidth); }
    std::int32_t ScanHeight() const { return RoundHalfEven(skinHeight); }
};

// The skin window's size in twips for the screen's factors.
struct TwipsSize {
    double width = 0, height = 0;
};
TwipsSize SkinFormSizeTwips(const SkinLayout& layout, TwipsPerPixel factors);

enum class SkinLayoutProblem {
    Unreadable,     // the file could not be read (line 0)
    TooFewLines,    // `line` is the first missing line
    TooFewFields,   // `field` is the first missing field
    NotANumber,
    OutOfRange,
};

struct SkinLayoutError {
    SkinLayoutProblem problem = SkinLayoutProblem::Unreadable;
    std::size_t line = 0;    // 1-based; 0 for the file as a whole
    std::size_t field = 0;   // 1-based; 0 for the line as a whole
    std::wstring found;      // the offending field as written, or the platform's reason
    std::wstring expected;   // what the line or field should hold
};

// Parses already decoded lines.
std::optional<SkinLayoutError> ParseSkinLayout(const std::vector<std::wstring>& lines,
                                               SkinLayout& out);

// Reads and parses the file. A missing file is an error; nothing is ever created.
std::optional<SkinLayoutError> ReadSkinLayout(const std::filesystem::path& path, SkinLayout& out);

// The report for a message box: what failed, in which file, on which line and field,
// what was found and what was expected.
std::wstring DescribeSkinLayoutError(const SkinLayoutError& error, std::wstring_view filePath);

// One field as a number: optional spaces and tabs around an optionally signed decimal
// with an optional fraction and exponent ("12", " -3 ", "2.5", "1e2"). Nothing else.
std::optional<double> ParseLayoutNumber(std::wstring_view text);

}  // namespace tessel::player
