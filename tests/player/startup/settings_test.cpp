#include "player/startup/settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "common/twips.h"
#include "tests/support/settings_subject.h"

namespace tessel::player {
namespace {

// The controls and variables the settings file fills, with a recording of which
// change handlers ran in which order.
struct Subject : tessel::test::SettingsHolder {
    std::vector<std::wstring> handlers;

    Subject() {
        menu.ChkHide.onClick = [this] { handlers.push_back(L"ChkHide"); };
        menu.ScrSkinTrans.onChange = [this] { handlers.push_back(L"ScrSkinTrans"); };
        menu.ScrPlayerTrans.onChange = [this] { handlers.push_back(L"ScrPlayerTrans"); };
        menu.CmbDispSize.onClick = [this] { handlers.push_back(L"CmbDispSize"); };
    }
};

std::vector<std::wstring> SampleLines() {
    return {L"Azure", L"120", L"-8", L"1", L"0", L"1", L"1", L"200", L"255",
            LR"(C:\lists\ロック.m3u)", L"3", L"150", L"200", L"1"};
}

constexpr TwipsPerPixel k96Dpi{15.0, 15.0};
constexpr TwipsPerPixel k120Dpi{12.0, 12.0};

TEST(Settings, ReadsEveryLineIntoItsControlAndWritesFourteenBack) {
    Subject s;
    ASSERT_FALSE(ApplySettingsLines(SampleLines(), s.Get(), k96Dpi));
    EXPECT_EQ(s.vars.SkinName, L"Azure");
    EXPECT_DOUBLE_EQ(s.leftTwips, 1800.0);
    EXPECT_DOUBLE_EQ(s.topTwips, -120.0);
    EXPECT_EQ(s.menu.ChkBreak.Value(), 1);
    EXPECT_EQ(s.menu.ChkHide.Value(), 0);
    EXPECT_EQ(s.menu.ChkRandom.Value(), 1);
    EXPECT_EQ(s.menu.ChkEndless.Value(), 1);
    EXPECT_EQ(s.menu.ScrSkinTrans.Value(), 200);
    EXPECT_EQ(s.menu.ScrPlayerTrans.Value(), 255);
    EXPECT_EQ(s.menu.LblM3uName.Caption(), LR"(C:\lists\ロック.m3u)");
    EXPECT_EQ(s.menu.CmbDispSize.ListIndex(), 3);
    // Line 12 is the top, line 13 the left.
    EXPECT_EQ(s.vars.VideoWindowRect.top, 150);
    EXPECT_EQ(s.vars.VideoWindowRect.left, 200);
    EXPECT_EQ(s.menu.ChkStartPlay.Value(), 1);
    // Only values that differ from the design values run handlers, in file order.
    EXPECT_EQ(s.handlers, (std::vector<std::wstring>{L"ScrSkinTrans", L"CmbDispSize"}));
    EXPECT_EQ(MakeSettingsLines(s.Get(), k96Dpi), SampleLines());
    // An empty list file line reads back empty. Thirteen lines are enough (the last
    // written as 0); fewer name the first one missing.
    auto lines = SampleLines();
    lines[9] = L"";
    lines.pop_back();
    Subject thirteen;
    ASSERT_FALSE(ApplySettingsLines(lines, thirteen.Get(), k96Dpi));
    EXPECT_EQ(thirteen.menu.ChkStartPlay.Value(), 0);
    lines.push_back(L"0");
    EXPECT_EQ(MakeSettingsLines(thirteen.Get(), k96Dpi), lines);
    for (std::size_t count : {0u, 1u, 12u}) {
        lines.resize(count);
        const auto error = ApplySettingsLines(lines, Subject().Get(), k96Dpi);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->line, count + 1);
    }
}

TEST(Settings, WindowPositionSurvivesAnotherScreenFactor) {
    // Written on a 96-DPI screen at 120, -8 pixels ...
    Subject first;
    first.vars.SkinName = L"Azure";
    first.leftTwips = 120 * 15.0;
    first.topTwips = -8 * 15.0;
    const auto lines = MakeSettingsLines(first.Get(), k96Dpi);
    EXPECT_EQ(lines[1], L"120");
    EXPECT_EQ(lines[2], L"-8");
    // ... read on a 120-DPI screen the window lands on the same pixels.
    Subject second;
    ASSERT_FALSE(ApplySettingsLines(lines, second.Get(), k120Dpi));
    EXPECT_EQ(TwipsToPixels(second.leftTwips, k120Dpi.x), 120);
    EXPECT_EQ(TwipsToPixels(second.topTwips, k120Dpi.y), -8);
    EXPECT_EQ(MakeSettingsLines(second.Get(), k120Dpi)[1], L"120");
    // Line 2 takes the hidden window to a monitor of 200 %, where the window's factors
    // change before line 3 is read: line 3 is read with those, the window's top stays
    // the stored pixel instead of doubling at every start.
    Subject moved;
    TwipsPerPixel factors = k96Dpi;
    auto subject = moved.Get();
    subject.setSkinLeftTwips = [&](double twips) {
        factors = {7.5, 7.5};
        moved.leftTwips = TwipsToPixels(twips, 15.0) * 7.5;  // the window keeps its pixel
    };
    ASSERT_FALSE(ApplySettingsLines(lines, subject, factors));
    EXPECT_EQ(TwipsToPixels(moved.leftTwips, factors.x), 120);
    EXPECT_EQ(TwipsToPixels(moved.topTwips, factors.y), -8);
}

// That every position the reader accepts is written back readable, read and written
// again the same, is the init.ini fuzz target's property (its seeds hold the edges).
TEST(Settings, PositionsKeepTo32BitPixelsAndSevenDigits) {
    auto lines = SampleLines();
    lines[1] = L"1e39";
    lines[2] = L"-2147483649";
    Subject s;
    ASSERT_FALSE(ApplySettingsLines(lines, s.Get(), k96Dpi));
    EXPECT_DOUBLE_EQ(s.leftTwips, 2147483648.0 * 15);
    EXPECT_DOUBLE_EQ(s.topTwips, -2147483648.0 * 15);
    const auto written = MakeSettingsLines(s.Get(), k96Dpi);
    EXPECT_EQ(written[1], L"2.147484e+09");
    EXPECT_EQ(written[2], L"-2.147484e+09");
    // Seven digits at most, no trailing zeros, and the same range whatever it is given.
    EXPECT_EQ(FormatSingle(120.0), L"120");
    EXPECT_EQ(FormatSingle(-0.0), L"0");
    EXPECT_EQ(FormatSingle(0.25), L"0.25");
    EXPECT_EQ(FormatSingle(-1365.3333), L"-1365.333");
    EXPECT_EQ(FormatSingle(1e39), L"2.147484e+09");
    EXPECT_EQ(FormatSingle(-1e300), L"-2.147484e+09");
    EXPECT_EQ(FormatSingle(std::nan("")), L"0");
    EXPECT_EQ(FormatSingle(2147483648.0), L"2.147484e+09");
    EXPECT_EQ(FormatSingle(-2147483000.0), L"-2.147483e+09");
}

struct BadLine {
    std::size_t line;  // 1-based
    const wchar_t* text;
};

TEST(Settings, MalformedLinesStopAtTheirLineWithEarlierValuesApplied) {
    const BadLine cases[] = {
        {1, L""},        {2, L""},         {2, L"12px"},     {3, L"nan"},     {3, L"inf"},
        {4, L"3"},       {4, L"x"},        {5, L"-1"},       {6, L"1.0"},     {7, L""},
        {8, L"256"},     {8, L"40000"},    {9, L"-1"},       {11, L"9"},      {11, L"-2"},
        {11, L"99999"},  {12, L"1.5"},     {12, L"2147483648"}, {12, L"-2147483649"}, {13, L""},   {14, L"7"},
        {14, L"yes"},    {4, L"0x1"},      {8, L"１"},
    };
    for (const BadLine& c : cases) {
        SCOPED_TRACE(std::to_wstring(c.line) + L": [" + c.text + L"]");
        Subject s;
        auto lines = SampleLines();
        lines[c.line - 1] = c.text;
        const auto error = ApplySettingsLines(lines, s.Get(), k96Dpi);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->line, c.line);
        EXPECT_FALSE(error->expected.empty());
        // Lines before the bad one were applied.
        if (c.line > 1) {
            EXPECT_EQ(s.vars.SkinName, L"Azure");
        }
        EXPECT_EQ(s.menu.ScrSkinTrans.Value(), c.line > 8 ? 200 : 255);
    }
    // Both ends of the widest range a line takes (line 12: any 32-bit integer) are in it.
    for (const wchar_t* end : {L"2147483647", L"-2147483648"}) {
        Subject s;
        auto lines = SampleLines();
        lines[11] = end;
        EXPECT_FALSE(ApplySettingsLines(lines, s.Get(), k96Dpi)) << (end[0] == L'-' ? "lowest" : "highest");
    }
}

// Code page 932 has no "é": written as it stands, "Café" would come back as "Caf?".
TEST(Settings, NamesTheFileCannotHoldAreStoredUnderTheirOtherNameOrNotAtAll) {
    Subject s;
    s.vars.SkinName = L"Café";
    s.menu.LblM3uName.SetCaption(LR"(C:\lists\Café.m3u)");
    SettingsSubject subject = s.Get();
    std::vector<std::wstring> asked;
    subject.storableSkinName = [&](const std::wstring& name) {
        asked.push_back(name);
        return std::optional<std::wstring>(L"CAF_~EZK");
    };
    subject.storableListPath = [&](const std::wstring& path) {
        asked.push_back(path);
        return std::optional<std::wstring>(LR"(C:\lists\CAF_~E2P.M3U)");
    };
    auto lines = MakeSettingsLines(subject, k96Dpi);
    EXPECT_EQ(lines[0], L"CAF_~EZK");
    EXPECT_EQ(lines[9], LR"(C:\lists\CAF_~E2P.M3U)");
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"Café", LR"(C:\lists\Café.m3u)"}));
    // A name that fits is written as it is; the other name is not even asked for.
    asked.clear();
    s.vars.SkinName = L"青";
    s.menu.LblM3uName.SetCaption(LR"(C:\リスト\ロック.m3u)");
    lines = MakeSettingsLines(subject, k96Dpi);
    EXPECT_EQ(lines[0], L"青");
    EXPECT_EQ(lines[9], LR"(C:\リスト\ロック.m3u)");
    EXPECT_TRUE(asked.empty());
    // No name that fits (none, or one that does not fit either): the list is forgotten,
    // never written with '?' in it.
    s.menu.LblM3uName.SetCaption(L"C:\\Café.m3u");
    subject.storableListPath = [](const std::wstring&) { return std::optional<std::wstring>(L"C:\\Café~1.m3u"); };
    EXPECT_EQ(MakeSettingsLines(subject, k96Dpi)[9], L"");
    subject.storableListPath = [](const std::wstring&) { return std::optional<std::wstring>(); };
    EXPECT_EQ(MakeSettingsLines(subject, k96Dpi)[9], L"");
    subject.storableListPath = nullptr;
    EXPECT_EQ(MakeSettingsLines(subject, k96Dpi)[9], L"");
    // One character is enough: the first and the last of the name are checked alike.
    EXPECT_FALSE(FitsSettingsFile(L"éa"));
    EXPECT_FALSE(FitsSettingsFile(L"aé"));
    EXPECT_TRUE(FitsSettingsFile(L"a"));
}

TEST(Settings, NumbersAllowSurroundingBlanksOnly) {
    std::int64_t v = 0;
    EXPECT_EQ(ParseInteger(L" 12 ", -100, 100, v), NumberProblem::None);
    EXPECT_EQ(v, 12);
    EXPECT_EQ(ParseInteger(L"+5", -100, 100, v), NumberProblem::None);
    EXPECT_EQ(ParseInteger(L"1 2", -100, 100, v), NumberProblem::NotANumber);
    EXPECT_EQ(ParseInteger(L"101", -100, 100, v), NumberProblem::OutOfRange);
    EXPECT_EQ(ParseInteger(L"99999999999999999999", -100, 100, v), NumberProblem::OutOfRange);
    double d = 0;
    EXPECT_TRUE(ParseDecimal(L"-8", d));
    EXPECT_TRUE(ParseDecimal(L"1.5E+03", d));
    EXPECT_DOUBLE_EQ(d, 1500.0);
    EXPECT_FALSE(ParseDecimal(L"0x10", d));
    EXPECT_FALSE(ParseDecimal(L"1e999", d));
}

}  // namespace
}  // namespace tessel::player
