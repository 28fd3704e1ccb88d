#include "player/startup/settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "common/cp932.h"
#include "player/shared/texts.h"

namespace tessel::player {
namespace {

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
    return text;
}

// The digits, signs, point and exponent letters of a number are ASCII; anything else
// makes the line no number.
bool ToAscii(std::wstring_view text, std::string& out) {
    out.clear();
    for (wchar_t c : text) {
        if (c <= 0 || c > 0x7F) return false;
        out.push_back(static_cast<char>(c));
    }
    return true;
}

std::wstring Widen(std::string_view text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

NumberProblem ParseInteger(std::wstring_view text, std::int64_t min, std::int64_t max,
                           std::int64_t& out) {
    std::string ascii;
    if (!ToAscii(Trim(text), ascii) || ascii.empty()) return NumberProblem::NotANumber;
    const char* first = ascii.data();
    const char* last = ascii.data() + ascii.size();
    if (*first == '+') ++first;  // from_chars takes no plus sign
    if (first == last || *first == '+') return NumberProblem::NotANumber;
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) return NumberProblem::OutOfRange;
    if (ec != std::errc() || end != last) return NumberProblem::NotANumber;
    if (value < min || value > max) return NumberProblem::OutOfRange;
    out = value;
    return NumberProblem::None;
}

bool ParseDecimal(std::wstring_view text, double& out) {
    std::string ascii;
    if (!ToAscii(Trim(text), ascii) || ascii.empty()) return false;
    const char* first = ascii.data();
    const char* last = ascii.data() + ascii.size();
    if (*first == '+') ++first;
    if (first == last || *first == '+') return false;
    // Only plain decimal and exponent forms; no "inf", "nan" or hexadecimal.
    for (const char* p = first; p != last; ++p) {
        const char c = *p;
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) {
            return false;
        }
    }
    double value = 0;
    auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || end != last || !std::isfinite(value)) return false;
    out = value;
    return true;
}

std::wstring FormatSingle(double value) {
    if (std::isnan(value)) value = 0;
    value = std::clamp(value, -kMaxWindowCoordinate, kMaxWindowCoordinate);
    float single = static_cast<float>(value);
    if (single == 0.0f) single = 0.0f;  // no "-0"
    char buffer[48];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, single,
                                   std::chars_format::general, 7);
    if (ec != std::errc()) return L"0";
    return Widen(std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
}

std::optional<SettingsError> ApplySettingsLines(const std::vector<std::wstring>& lines,
                                                const SettingsSubject& s,
                                                const TwipsPerPixel& factors) {
    MenuFormControls& m = s.menu;
    std::size_t lineNo = 0;
    auto fail = [&](std::wstring expected) {
        return std::optional<SettingsError>(SettingsError{lineNo, std::move(expected)});
    };
    auto line = [&](std::size_t n) -> const std::wstring& { return lines[n - 1]; };

    // Reads a 16-bit line and hands it to a control that may refuse it.
    auto applyInt16 = [&](std::size_t n, const std::wstring& expected,
                          const std::function<void(int)>& apply) -> std::optional<SettingsError> {
        lineNo = n;
        std::int64_t v = 0;
        if (ParseInteger(line(n), INT16_MIN, INT16_MAX, v) != NumberProblem::None) {
            return fail(expected);
        }
        try {
            apply(static_cast<int>(v));
        } catch (const ControlValueError&) {
            return fail(expected);
        }
        return std::nullopt;
    };
    auto applyInt32 = [&](std::size_t n, std::int32_t& target) -> std::optional<SettingsError> {
        lineNo = n;
        std::int64_t v = 0;
        if (ParseInteger(line(n), INT32_MIN, INT32_MAX, v) != NumberProblem::None) {
            return fail(texts::kExpectInt32);
        }
        target = static_cast<std::int32_t>(v);
        return std::nullopt;
    };
    auto applyCoordinate = [&](std::size_t n, double factor,
                               const std::function<void(double)>& set) -> std::optional<SettingsError> {
        lineNo = n;
        double v = 0;
        if (!ParseDecimal(line(n), v)) return fail(texts::kExpectCoordinate);
        set(std::clamp(v, -kMaxWindowCoordinate, kMaxWindowCoordinate) * factor);
        return std::nullopt;
    };

    if (lines.size() < kSettingsLinesRequired) {
        lineNo = lines.size() + 1;
        return fail(texts::kExpectMoreLines);
    }

    // Line 1: the skin name, used as it stands.
    lineNo = 1;
    if (line(1).empty()) return fail(texts::kExpectSkinName);
    s.SkinName = line(1);

    if (auto e = applyCoordinate(2, factors.x, s.setSkinLeftTwips)) return e;
    if (auto e = applyCoordinate(3, factors.y, s.setSkinTopTwips)) return e;
    auto check = [](CheckBox& box) { return [&box](int v) { box.SetValue(v); }; };
    if (auto e = applyInt16(4, texts::kExpectCheck, check(m.ChkBreak))) return e;
    if (auto e = applyInt16(5, texts::kExpectCheck, check(m.ChkHide))) return e;
    if (auto e = applyInt16(6, texts::kExpectCheck, check(m.ChkRandom))) return e;
    if (auto e = applyInt16(7, texts::kExpectCheck, check(m.ChkEndless))) return e;
    if (auto e = applyInt16(8, texts::kExpectOpacity, [&](int v) { m.ScrSkinTrans.SetValue(v); })) return e;
    if (auto e = applyInt16(9, texts::kExpectOpacity, [&](int v) { m.ScrPlayerTrans.SetValue(v); })) return e;
    lineNo = 10;
    m.LblM3uName.SetCaption(line(10));
    if (auto e = applyInt16(11, texts::kExpectDisplaySize, [&](int v) { m.CmbDispSize.SetListIndex(v); })) return e;
    // Top comes before left here, the reverse of the rectangle's own order.
    if (auto e = applyInt32(12, s.VideoWindowRect.top)) return e;
    if (auto e = applyInt32(13, s.VideoWindowRect.left)) return e;
    if (lines.size() > kSettingsLinesRequired) {
        if (auto e = applyInt16(14, texts::kExpectCheck, check(m.ChkStartPlay))) return e;
    }
    return std::nullopt;
}

bool FitsSettingsFile(std::wstring_view text) { return EncodeCp932(text).replaced == 0; }

namespace {

std::optional<std::wstring> StoredName(const std::wstring& name, const StorableNameFn& other) {
    if (FitsSettingsFile(name)) return name;
    if (!other) return std::nullopt;
    std::optional<std::wstring> alternative = other(name);
    if (alternative && !alternative->empty() && FitsSettingsFile(*alternative)) return alternative;
    return std::nullopt;
}

}  // namespace

std::vector<std::wstring> MakeSettingsLines(const SettingsSubject& s, TwipsPerPixel factors) {
    const MenuFormControls& m = s.menu;
    std::vector<std::wstring> lines;
    lines.reserve(kSettingsLinesWritten);
    lines.push_back(StoredName(s.SkinName, s.storableSkinName).value_or(s.SkinName));
    lines.push_back(FormatSingle(s.getSkinLeftTwips() / factors.x));
    lines.push_back(FormatSingle(s.getSkinTopTwips() / factors.y));
    lines.push_back(std::to_wstring(m.ChkBreak.Value()));
    lines.push_back(std::to_wstring(m.ChkHide.Value()));
    lines.push_back(std::to_wstring(m.ChkRandom.Value()));
    lines.push_back(std::to_wstring(m.ChkEndless.Value()));
    lines.push_back(std::to_wstring(m.ScrSkinTrans.Value()));
    lines.push_back(std::to_wstring(m.ScrPlayerTrans.Value()));
    // A list that cannot be named in the file is forgotten rather than stored as a
    // name of some other (or no) file.
    lines.push_back(StoredName(m.LblM3uName.Caption(), s.storableListPath).value_or(L""));
    lines.push_back(std::to_wstring(m.CmbDispSize.ListIndex()));
    lines.push_back(std::to_wstring(s.VideoWindowRect.top));
    lines.push_back(std::to_wstring(s.VideoWindowRect.left));
    lines.push_back(std::to_wstring(m.ChkStartPlay.Value()));
    return lines;
}

}  // namespace tessel::player
