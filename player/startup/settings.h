// The settings file Setting\init.ini: one value per line, positional, code page 932.
//
// The reader applies each value to its control or variable as soon as its line is read,
// so the controls' change handlers run in file order exactly as if the user had made the
// change; values applied before a bad line stay applied. The writer always writes 14
// lines; the reader needs 13 and takes the 14th when there is one.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/twips.h"
#include "player/shared/llvariable.h"

namespace tessel::player {

inline constexpr std::size_t kSettingsLinesRequired = 13;
inline constexpr std::size_t kSettingsLinesWritten = 14;

// True when the settings file (code page 932) holds `text` exactly. A name written
// with '?' in place of a character it cannot hold would name nothing at the next start.
bool FitsSettingsFile(std::wstring_view text);

// Another name of the same skin folder or list file that the file can hold (the
// platform's short name), or nothing.
using StorableNameFn = std::function<std::optional<std::wstring>(const std::wstring& name)>;

// What the settings file is read into and written from.
struct SettingsSubject {
    std::wstring& SkinName;
    // The skin window's position is held in twips, as the window design does.
    std::function<double()> getSkinLeftTwips, getSkinTopTwips;
    std::function<void(double)> setSkinLeftTwips, setSkinTopTwips;
    MenuFormControls& menu;
    ScreenRect& VideoWindowRect;
    // For lines 1 and 10 when the name itself does not fit the file. A list file with
    // no such name is not remembered (an empty line 10; the user was told when the list
    // was chosen). A skin with none cannot be chosen, so line 1 always has one.
    StorableNameFn storableSkinName = {};
    StorableNameFn storableListPath = {};
};

// Why a file could not be read: the line (1-based; 0 for the file as a whole) and what
// the line should have held.
struct SettingsError {
    std::size_t line = 0;
    std::wstring expected;
};

// Applies the lines in order. Stops at the first bad line and describes it. `factors`
// are read anew for each line: placing the window by line 2 can take it to a monitor
// of another scale, whose factors then convert line 3.
std::optional<SettingsError> ApplySettingsLines(const std::vector<std::wstring>& lines,
                                                const SettingsSubject& subject,
                                                const TwipsPerPixel& factors);

// The 14 lines of the file for the current state.
std::vector<std::wstring> MakeSettingsLines(const SettingsSubject& subject, TwipsPerPixel factors);

// The skin window's position in pixels is kept within this distance of 0. A window
// cannot be placed beyond the 32-bit pixel range anyway, and a single-precision
// number written for a value beyond the float range would read "inf", which the
// reader refuses: a position read from the file is clamped to this range, so that
// everything the reader accepts is written back readable. (2^31 is exact in single
// precision, so the limit itself survives a write and a read.)
inline constexpr double kMaxWindowCoordinate = 2147483648.0;

// A single-precision number with at most 7 significant digits and no trailing zeros
// ("120", "-8", "120.5"). Values beyond kMaxWindowCoordinate are written as that
// limit, and a value that is no number as 0: the text always reads back.
std::wstring FormatSingle(double value);

// Strict number parsing for the file's lines. Surrounding spaces are allowed.
enum class NumberProblem { None, NotANumber, OutOfRange };
NumberProblem ParseInteger(std::wstring_view text, std::int64_t min, std::int64_t max,
                           std::int64_t& out);
bool ParseDecimal(std::wstring_view text, double& out);

}  // namespace tessel::player
