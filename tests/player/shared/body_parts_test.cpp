// The body window's parts as a screen reader gets them: order, roles, names, places at
// both skin scales, which part a point lies on, and the values they announce.
#include "player/shared/body_parts.h"

#include <gtest/gtest.h>

#include <array>
#include <iterator>
#include <utility>
#include <string>

namespace tessel::player {
namespace {

std::array<int, 4> Edges(const ScreenRect& r) { return {r.left, r.top, r.right, r.bottom}; }

constexpr TwipsPerPixel kScale1{15.0, 15.0}, kScale2{7.5, 7.5};

// Each part's role and its tool tip's text, which a screen reader announces.
TEST(BodyParts, ReadingOrderRolesAndNames) {
    using R = PartRole;
    const std::pair<PartRole, std::wstring> expected[] = {
        {R::PushButton, L"バージョン情報"},        {R::PushButton, L"設定ウィンドウを表示します"},
        {R::PushButton, L"タスクトレイに格納します"}, {R::PushButton, L"終了します"},
        {R::PushButton, L"リストファイルを選択します"}, {R::PushButton, L"先頭から再生し直します"},
        {R::PushButton, L"停止します"},            {R::PushButton, L"再生します"},
        {R::PushButton, L"次のファイルを再生します"}, {R::StaticText, L"現在の時間"},
        {R::StaticText, L"全体の時間"},            {R::Slider, L"再生位置"},
        {R::StaticText, L"再生中のファイル名"},      {R::Slider, L"音量"},
    };
    ASSERT_EQ(BodyParts().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const BodyPartDesign& d = BodyParts()[i];
        EXPECT_EQ(&DesignOf(d.part), &d) << i;
        EXPECT_EQ(d.role, expected[i].first) << i;
        EXPECT_EQ(d.name, expected[i].second) << i;
        // Top to bottom, and left to right within a row.
        const TwipsBox& a = BodyParts()[i ? i - 1 : 0].box;
        EXPECT_TRUE(!i || d.box.top > a.top || (d.box.top == a.top && d.box.left > a.left)) << i;
    }
}

TEST(BodyParts, PlacesAtBothScalesTheTitleCutAtTheWindowsEdge) {
    EXPECT_EQ(Edges(PartPixels(BodyPart::CmdInfo, kScale1)), (std::array{0, 0, 18, 15}));
    EXPECT_EQ(Edges(PartPixels(BodyPart::ImgPlay, kScale1)), (std::array{48, 15, 72, 39}));
    EXPECT_EQ(Edges(PartPixels(BodyPart::LblTitle, kScale1)), (std::array{0, 61, 497, 73}));
    EXPECT_EQ(Edges(PartPixels(BodyPart::ScrVolume, kScale1)), (std::array{0, 73, 96, 83}));
    EXPECT_EQ(Edges(PartPixels(BodyPart::ImgPlay, kScale2)), (std::array{96, 30, 144, 78}));
    EXPECT_EQ(Edges(PartPixels(BodyPart::ScrVolume, kScale2)), (std::array{0, 146, 192, 166}));
    EXPECT_EQ(Edges(VisiblePartPixels(BodyPart::LblTitle, kScale1, 96, 83)), (std::array{0, 61, 96, 73}));
    EXPECT_EQ(Edges(VisiblePartPixels(BodyPart::LblTitle, kScale2, 192, 166)), (std::array{0, 122, 192, 146}));
    EXPECT_EQ(Edges(VisiblePartPixels(BodyPart::ImgNext, kScale1, 96, 83)), (std::array{72, 15, 96, 39}));
}

TEST(BodyParts, APointLiesOnOnePartTheRightAndBottomEdgesOnTheNext) {
    const struct {
        int x, y;
        std::optional<BodyPart> part;
    } cases[] = {
        {0, 0, BodyPart::CmdInfo},     {17, 14, BodyPart::CmdInfo},  {18, 0, BodyPart::CmdPopup},
        {95, 14, BodyPart::CmdChoice}, {47, 15, BodyPart::ImgStop},  {48, 15, BodyPart::ImgPlay},
        {71, 38, BodyPart::ImgPlay},   {72, 38, BodyPart::ImgNext},  {48, 39, BodyPart::LblTTime},
        {95, 60, BodyPart::ScrTime},   {95, 61, BodyPart::LblTitle}, {0, 82, BodyPart::ScrVolume},
        {96, 65, std::nullopt},        {0, 83, std::nullopt},        {-1, 0, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(PartAt(c.x, c.y, kScale1, 96, 83), c.part) << c.x << "," << c.y;
    // At twice the scale the same part covers twice the pixels.
    EXPECT_EQ(PartAt(143, 77, kScale2, 192, 166), BodyPart::ImgPlay);
    EXPECT_EQ(PartAt(144, 77, kScale2, 192, 166), BodyPart::ImgNext);
    EXPECT_EQ(PartAt(191, 130, kScale2, 192, 166), BodyPart::LblTitle);
}

TEST(BodyParts, BarsAnnounceTheirPositionReadOutsTheirTextButtonsNothing) {
    PlayerFormControls c;
    c.ScrTime.SetMax(500);
    c.ScrTime.SetValue(61);
    c.ScrVolume.SetValue(255);
    c.LblTitle.SetCaption(L"曲 名.mp3");
    c.LblNTime.SetCaption(L"12");
    EXPECT_EQ(PartValue(BodyPart::ScrTime, c), L"61");
    EXPECT_EQ(PartValue(BodyPart::ScrVolume, c), L"255");
    EXPECT_EQ(PartValue(BodyPart::LblTitle, c), L"曲 名.mp3");
    EXPECT_EQ(PartValue(BodyPart::LblNTime, c), L"12");
    EXPECT_EQ(PartValue(BodyPart::LblTTime, c), L"Total");
    for (BodyPart b : {BodyPart::CmdInfo, BodyPart::CmdChoice, BodyPart::ImgPrev, BodyPart::ImgNext})
        EXPECT_EQ(PartValue(b, c), std::nullopt);
}

}  // namespace
}  // namespace tessel::player
