#include "player/skin/skin_layout.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "common/textfile.h"
#include "player/shared/texts.h"

namespace tessel::player {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Nearest whole number, ties to even, without RoundHalfEven's clamping to 32 bits, so
// that a range check after it sees the true value.
double HalfEven(double v) {
    const double f = std::floor(v), frac = v - f;
    if (frac > 0.5) return f + 1;
    if (frac < 0.5) return f;
    return std::fmod(f, 2.0) == 0.0 ? f : f + 1;
}

std::vector<std::wstring_view> SplitFields(std::wstring_view line) {
    std::vector<std::wstring_view> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = line.find(L',', start);
        if (comma == std::wstring_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

// What a line needs: how many fields and how each is checked.
enum class FieldKind { Side, Colour, Offset };
struct LineRule {
    std::size_t fields;
    FieldKind kind;
};
constexpr LineRule kRules[kSkinLayoutLines] = {
    {2, FieldKind::Side}, {3, FieldKind::Colour}, {3, FieldKind::Colour},
    {3, FieldKind::Colour}, {2, FieldKind::Offset}};

const wchar_t* ExpectedFor(FieldKind kind) {
    switch (kind) {
    case FieldKind::Side: return skin_texts::kExpectSide;
    case FieldKind::Colour: return skin_texts::kExpectColour;
    case FieldKind::Offset: return skin_texts::kExpectOffset;
    }
    return skin_texts::kExpectNumber;
}

// Converts one field by its kind; whole-number kinds round half to even first.
std::optional<SkinLayoutProblem> ConvertField(std::wstring_view text, FieldKind kind, double& out) {
    std::optional<double> number = ParseLayoutNumber(text);
    if (!number) return SkinLayoutProblem::NotANumber;
    const double v = *number;
    switch (kind) {
    case FieldKind::Side: {
        // The window takes the value as written; the mask scan its rounded value, which
        // must leave at least one pixel.
        if (!std::isfinite(v) || RoundHalfEven(v) < 1 || v > kMaxSkinSide) return SkinLayoutProblem::OutOfRange;
        out = v;
        return std::nullopt;
    }
    case FieldKind::Colour: {
        const double rounded = std::isfinite(v) ? HalfEven(v) : v;
        if (!(rounded >= 0 && rounded <= 255)) return SkinLayoutProblem::OutOfRange;
        out = rounded;
        return std::nullopt;
    }
    case FieldKind::Offset: {
        const double rounded = std::isfinite(v) ? HalfEven(v) : v;
        if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
              rounded <= std::numeric_limits<std::int32_t>::max()))
            return SkinLayoutProblem::OutOfRange;
        out = rounded;
        return std::nullopt;
    }
    }
    return SkinLayoutProblem::NotANumber;
}

}  // namespace

std::optional<double> ParseLayoutNumber(std::wstring_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    text = text.substr(begin, end - begin);

    bool negative = false;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    // Check the whole shape before converting: from_chars would stop at the first
    // character it does not like and leave the rest unread.
    std::string ascii;
    std::size_t mantissaDigits = 0;
    while (i < text.size() && IsDigit(text[i])) { ascii.push_back(char(text[i++])); ++mantissaDigits; }
    if (i < text.size() && text[i] == L'.') {
        ascii.push_back('.');
        ++i;
        while (i < text.size() && IsDigit(text[i])) { ascii.push_back(char(text[i++])); ++mantissaDigits; }
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        ascii.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ascii.push_back(char(text[i++]));
        std::size_t exponentDigits = 0;
        while (i < text.size() && IsDigit(text[i])) { ascii.push_back(char(text[i++])); ++exponentDigits; }
        if (exponentDigits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;

    double value = 0;
    const auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Beyond a double: a huge value is out of every range, a tiny one is zero.
        const std::size_t e = ascii.find('e');
        const bool tiny = e != std::string::npos && e + 1 < ascii.size() && ascii[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (ec != std::errc() || ptr != ascii.data() + ascii.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<SkinLayoutError> ParseSkinLayout(const std::vector<std::wstring>& lines, SkinLayout& out) {
    if (lines.size() < kSkinLayoutLines) {
        SkinLayoutError e;
        e.problem = SkinLayoutProblem::TooFewLines;
        e.line = lines.size() + 1;
        e.expected = std::wstring(skin_texts::kExpectFiveLines) + L" — " +
                     skin_texts::kExpectLine[lines.size()];
        return e;
    }
    double values[kSkinLayoutLines][3] = {};
    for (std::size_t l = 0; l < kSkinLayoutLines; ++l) {
        const LineRule rule = kRules[l];
        const std::vector<std::wstring_view> fields = SplitFields(lines[l]);
        if (fields.size() < rule.fields) {
            SkinLayoutError e;
            e.problem = SkinLayoutProblem::TooFewFields;
            e.line = l + 1;
            e.field = fields.size() + 1;
            e.found = lines[l];
            e.expected = skin_texts::kExpectLine[l];
            return e;
        }
        for (std::size_t f = 0; f < rule.fields; ++f) {
            if (auto problem = ConvertField(fields[f], rule.kind, values[l][f])) {
                SkinLayoutError e;
                e.problem = *problem;
                e.line = l + 1;
                e.field = f + 1;
                e.found = std::wstring(fields[f]);
                e.expected = ExpectedFor(rule.kind);
                return e;
            }
        }
    }
    auto colour = [&](std::size_t l) {
        return RgbColour{std::int32_t(values[l][0]), std::int32_t(values[l][1]), std::int32_t(values[l][2])};
    };
    SkinLayout layout;
    layout.skinWidth = values[0][0];
    layout.skinHeight = values[0][1];
    layout.skinKey = colour(1);
    layout.playerKey = colour(2);
    layout.textColour = colour(3);
    layout.playerOffsetY = std::int32_t(values[4][0]);
    layout.playerOffsetX = std::int32_t(values[4][1]);
    out = layout;
    return std::nullopt;
}

std::optional<SkinLayoutError> ReadSkinLayout(const std::filesystem::path& path, SkinLayout& out) {
    TextReadResult read = ReadTextFileLines(path);
    if (!read.ok) {
        SkinLayoutError e;
        e.problem = SkinLayoutProblem::Unreadable;
        e.found = read.error;
        return e;
    }
    return ParseSkinLayout(read.lines, out);
}

TwipsSize SkinFormSizeTwips(const SkinLayout& layout, TwipsPerPixel factors) {
    return {layout.skinWidth * factors.x, layout.skinHeight * factors.y};
}

std::wstring DescribeSkinLayoutError(const SkinLayoutError& error, std::wstring_view filePath) {
    std::wstring text = error.problem == SkinLayoutProblem::Unreadable ? skin_texts::kLayoutUnreadable
                                                                       : skin_texts::kLayoutMalformed;
    text += L"\n";
    text += skin_texts::kFileLabel;
    text += filePath;
    if (error.problem == SkinLayoutProblem::Unreadable) {
        if (!error.found.empty()) {
            text += L"\n";
            text += skin_texts::kReasonLabel;
            text += error.found;
        }
        return text;
    }
    text += L"\n";
    text += skin_texts::kLineLabel;
    text += std::to_wstring(error.line);
    if (error.field != 0) {
        text += L"（";
        text += std::to_wstring(error.field);
        text += skin_texts::kFieldSuffix;
        text += L"）";
    }
    if (error.problem != SkinLayoutProblem::TooFewLines) {
        text += L"\n";
        text += skin_texts::kFoundLabel;
        text += L"\"" + error.found + L"\"";
    }
    text += L"\n";
    text += skin_texts::kExpectedLabel;
    text += error.expected;
    return text;
}

}  // namespace tessel::player
