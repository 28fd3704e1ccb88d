#include "player/skin/skin_layout.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_dir.h"

namespace tessel::player {
namespace {

std::vector<std::wstring> ExampleLines() {
    return {L"320,120", L"255,0,255", L"255,0,255", L"255,255,255", L"-20,116"};
}

SkinLayout ParseOk(const std::vector<std::wstring>& lines) {
    SkinLayout layout;
    auto error = ParseSkinLayout(lines, layout);
    EXPECT_FALSE(error.has_value()) << (error ? DescribeSkinLayoutError(*error, L"define.ini") : std::wstring());
    return layout;
}

// Every field of a layout, in file order (line 5 gives the vertical offset first).
std::vector<double> Fields(const SkinLayout& l) {
    return {l.skinWidth,        l.skinHeight,     double(l.skinKey.red),    double(l.skinKey.green),
            double(l.skinKey.blue), double(l.playerKey.red), double(l.playerKey.green), double(l.playerKey.blue),
            double(l.textColour.red), double(l.textColour.green), double(l.textColour.blue),
            double(l.playerOffsetY), double(l.playerOffsetX)};
}

TEST(SkinLayout, ReadsEveryFieldOfTheFiveLines) {
    const SkinLayout l = ParseOk({L"320,120", L"1,2,3", L"4,5,6", L"7,8,9", L"-20,116"});
    EXPECT_EQ(Fields(l), (std::vector<double>{320, 120, 1, 2, 3, 4, 5, 6, 7, 8, 9, -20, 116}));
    EXPECT_EQ(ColourValue(l.skinKey), 1u + 2u * 256 + 3u * 65536);
    // Spaces and tabs around fields; lines after the fifth and fields beyond the
    // needed ones are ignored.
    EXPECT_EQ(Fields(ParseOk({L"  320 ,\t120\t,7", L" 1 , 2 ,3,not a number", L"4,5 ,6", L" 7, 8, 9",
                              L" -20 , +116 ,,", L"a sixth line that is no layout at all", L""})),
              Fields(l));
}

TEST(SkinLayout, WholeNumberFieldsRoundHalfToEvenTheWindowSizeKeepsItsFractionAndItsPixels) {
    const SkinLayout l = ParseOk({L"320.5,121.5", L"254.5,253.5,0.5", L"1e2,2.5E1,0", L"0,0,0", L"-20.5,115.5"});
    EXPECT_EQ(Fields(l), (std::vector<double>{320.5, 121.5, 254, 254, 0, 100, 25, 0, 0, 0, 0, -20, 116}));
    EXPECT_EQ(l.ScanWidth(), 320);
    EXPECT_EQ(l.ScanHeight(), 122);
    EXPECT_DOUBLE_EQ(SkinFormSizeTwips(l, {15, 15}).width, 4807.5);
    // The skin window's size in pixels is the same at any factor.
    const SkinLayout example = ParseOk(ExampleLines());
    for (TwipsPerPixel f : {TwipsPerPixel{15, 15}, TwipsPerPixel{12, 12}, TwipsPerPixel{9.6, 9.6},
                            TwipsPerPixel{1440.0 / 144, 1440.0 / 168}}) {
        const TwipsSize t = SkinFormSizeTwips(example, f);
        EXPECT_EQ(TwipsToPixels(t.width, f.x), 320);
        EXPECT_EQ(TwipsToPixels(t.height, f.y), 120);
    }
}

struct BadCase {
    const char* name;
    std::vector<std::wstring> lines;
    SkinLayoutProblem problem;
    std::size_t line, field;
};

TEST(SkinLayout, RejectsEveryMalformedLayoutNamingLineAndField) {
    auto with = [](std::size_t index, std::wstring text) {
        std::vector<std::wstring> lines = ExampleLines();
        lines[index] = std::move(text);
        return lines;
    };
    const BadCase cases[] = {
        {"empty file", {}, SkinLayoutProblem::TooFewLines, 1, 0},
        {"four lines", {L"320,120", L"255,0,255", L"255,0,255", L"255,255,255"}, SkinLayoutProblem::TooFewLines, 5, 0},
        {"line 1 one field", with(0, L"320"), SkinLayoutProblem::TooFewFields, 1, 2},
        {"line 2 two fields", with(1, L"255,0"), SkinLayoutProblem::TooFewFields, 2, 3},
        {"line 4 empty", with(3, L""), SkinLayoutProblem::TooFewFields, 4, 2},
        {"line 5 one field", with(4, L"-20"), SkinLayoutProblem::TooFewFields, 5, 2},
        {"empty field", with(2, L"255,,255"), SkinLayoutProblem::NotANumber, 3, 2},
        {"blank field", with(2, L"255,  ,255"), SkinLayoutProblem::NotANumber, 3, 2},
        {"word", with(1, L"255,0,blue"), SkinLayoutProblem::NotANumber, 2, 3},
        {"trailing letters", with(0, L"320px,120"), SkinLayoutProblem::NotANumber, 1, 1},
        {"inner space", with(4, L"-20,1 16"), SkinLayoutProblem::NotANumber, 5, 2},
        {"hex", with(3, L"0x10,0,0"), SkinLayoutProblem::NotANumber, 4, 1},
        {"sign only", with(4, L"-,116"), SkinLayoutProblem::NotANumber, 5, 1},
        {"bare exponent", with(0, L"320,1e"), SkinLayoutProblem::NotANumber, 1, 2},
        {"full-width digits", with(0, L"\uFF13\uFF12\uFF10,120"), SkinLayoutProblem::NotANumber, 1, 1},
        {"colour 256", with(1, L"256,0,255"), SkinLayoutProblem::OutOfRange, 2, 1},
        {"colour rounds to 256", with(3, L"0,255.5,0"), SkinLayoutProblem::OutOfRange, 4, 2},
        {"colour negative", with(2, L"255,0,-1"), SkinLayoutProblem::OutOfRange, 3, 3},
        {"width zero", with(0, L"0,120"), SkinLayoutProblem::OutOfRange, 1, 1},
        {"height rounds to zero", with(0, L"320,0.5"), SkinLayoutProblem::OutOfRange, 1, 2},
        {"width negative", with(0, L"-320,120"), SkinLayoutProblem::OutOfRange, 1, 1},
        {"width beyond any screen", with(0, L"100000,120"), SkinLayoutProblem::OutOfRange, 1, 1},
        {"offset beyond 32 bits", with(4, L"-20,3000000000"), SkinLayoutProblem::OutOfRange, 5, 2},
        {"offset overflows a double", with(4, L"1e999,116"), SkinLayoutProblem::OutOfRange, 5, 1},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        SkinLayout layout;
        layout.playerOffsetX = 12345;
        auto error = ParseSkinLayout(c.lines, layout);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->problem, c.problem);
        EXPECT_EQ(error->line, c.line);
        EXPECT_EQ(error->field, c.field);
        EXPECT_FALSE(error->expected.empty());
        EXPECT_EQ(layout.playerOffsetX, 12345) << "a rejected layout must not be half applied";
    }
}

TEST(SkinLayout, NumberGrammar) {
    EXPECT_EQ(ParseLayoutNumber(L"12"), 12.0);
    EXPECT_EQ(ParseLayoutNumber(L" -3 "), -3.0);
    EXPECT_EQ(ParseLayoutNumber(L"+.5"), 0.5);
    EXPECT_EQ(ParseLayoutNumber(L"7."), 7.0);
    EXPECT_EQ(ParseLayoutNumber(L"1e-999"), 0.0);
    for (const wchar_t* bad : {L"", L" ", L".", L"-", L"1e+", L"--1", L"1,5", L"1.2.3", L"e5", L"inf", L"nan", L"1\u3000"})
        EXPECT_FALSE(ParseLayoutNumber(bad).has_value()) << std::wstring(bad);
}

// The shipped skins' files are read in shipped_skins_test; a file that is missing is
// reported by name and not made, an empty one lacks its first line, and a report names
// the file, the line, the field and what was found there.
TEST(SkinLayoutFile, MissingEmptyAndMalformedFilesAreReported) {
    tessel::test::TempDir dir{"skin-layout"};
    const auto path = dir / "define.ini";
    SkinLayout l;
    auto error = ReadSkinLayout(path, l);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->problem, SkinLayoutProblem::Unreadable);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_NE(DescribeSkinLayoutError(*error, path.wstring()).find(path.wstring()), std::wstring::npos);
    error = ReadSkinLayout(dir.Write("define.ini", ""), l);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->problem, SkinLayoutProblem::TooFewLines);
    EXPECT_EQ(error->line, 1u);
    std::vector<std::wstring> lines = ExampleLines();
    lines[1] = L"255,0,blue";
    error = ParseSkinLayout(lines, l);
    ASSERT_TRUE(error);
    const std::wstring text = DescribeSkinLayoutError(*error, L"C:\\Tessel\\parts\\Azure\\define.ini");
    for (const wchar_t* part : {L"C:\\Tessel\\parts\\Azure\\define.ini", L"2", L"3 番目", L"\"blue\"", L"0 から 255"})
        EXPECT_NE(text.find(part), std::wstring::npos) << part;
}

}  // namespace
}  // namespace tessel::player
