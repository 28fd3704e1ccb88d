// The shipped skins through the platform's own picture loader and pixel reads: the
// files must load as the window layer will load them, and the bulk pixel read that
// feeds the mask runs must agree with the pixel-by-pixel read on every point.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/fileio.h"
#include "player/skin/image_files.h"
#include "player/skin/mask_runs.h"
#include "player/skin/skin_layout.h"

namespace tessel::player {
namespace {

std::wstring SkinFile(const char* skin, const wchar_t* file) {
    return (std::filesystem::path(TESSEL_TEST_PARTS_DIR) / skin / file).wstring();
}

HBITMAP LoadBitmapFile(const std::wstring& path) {
    return static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

class PlatformLoader : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        auto error = ReadSkinLayout(SkinFile(GetParam(), L"define.ini"), layout_);
        ASSERT_FALSE(error) << DescribeSkinLayoutError(*error, L"define.ini");
    }
    SkinLayout layout_;
};

TEST_P(PlatformLoader, PicturesAndIconLoad) {
    struct Expect { const wchar_t* file; LONG w, h; };
    const Expect files[] = {{L"skin.bmp", layout_.ScanWidth(), layout_.ScanHeight()},
                            {L"s_mask.bmp", layout_.ScanWidth(), layout_.ScanHeight()},
                            {L"player.bmp", 96, 68},
                            {L"p_mask.bmp", 96, 83}};
    for (const Expect& e : files) {
        HBITMAP bmp = LoadBitmapFile(SkinFile(GetParam(), e.file));
        ASSERT_NE(bmp, nullptr) << "LoadImage failed, error " << GetLastError();
        BITMAP info{};
        ASSERT_NE(GetObjectW(bmp, sizeof info, &info), 0);
        EXPECT_EQ(info.bmWidth, e.w);
        EXPECT_EQ(info.bmHeight, e.h);
        DeleteObject(bmp);
    }
    for (int size : {16, 32}) {
        HICON icon = static_cast<HICON>(
            LoadImageW(nullptr, SkinFile(GetParam(), L"task.ico").c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO ii{};
        ASSERT_TRUE(GetIconInfo(icon, &ii));
        BITMAP colour{};
        GetObjectW(ii.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size);
        EXPECT_EQ(colour.bmHeight, size);
        DeleteObject(ii.hbmColor);
        DeleteObject(ii.hbmMask);
        DestroyIcon(icon);
    }
}

// Opaque points by the platform's loader and its pixel-by-pixel read, column by
// column, and by the runs built from our own reader's pixels of the same file: the
// program never hands a skin file to the platform's loader, so both must agree.
void CompareMask(const std::wstring& path, int scanW, int scanH, const RgbColour& key) {
    HBITMAP bmp = LoadBitmapFile(path);
    ASSERT_NE(bmp, nullptr);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    std::set<std::pair<int, int>> reference;
    const COLORREF keyRef = ColourValue(key);
    for (int x = 0; x < scanW; ++x)
        for (int y = 0; y < scanH; ++y)
            if (GetPixel(dc, x, y) != keyRef) reference.insert({x, y});
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DeleteObject(bmp);

    std::string bytes;
    std::wstring error;
    ASSERT_TRUE(ReadWholeFile(path, bytes, error));
    BmpImage image;
    ASSERT_EQ(DecodeBmp(bytes, kMaxSkinSide, image), ImageProblem::None);
    const MaskPixels view{image.pixels.data(), image.width, image.height, image.width};
    std::set<std::pair<int, int>> fromRuns;
    for (const PixelRun& r : MaskToRuns(view, scanW, scanH, DibPixel(key.red, key.green, key.blue)))
        for (int x = r.left; x < r.right; ++x) fromRuns.insert({x, r.y});
    EXPECT_FALSE(reference.empty());
    EXPECT_EQ(fromRuns, reference);
}

TEST_P(PlatformLoader, MaskRunsAgreeWithPixelReads) {
    CompareMask(SkinFile(GetParam(), L"s_mask.bmp"), layout_.ScanWidth(), layout_.ScanHeight(), layout_.skinKey);
    CompareMask(SkinFile(GetParam(), L"p_mask.bmp"), 96, 83, layout_.playerKey);
    // A scan larger than the bitmap: the reads beyond it are the invalid colour.
    CompareMask(SkinFile(GetParam(), L"p_mask.bmp"), 100, 90, layout_.playerKey);
}

INSTANTIATE_TEST_SUITE_P(Skins, PlatformLoader, ::testing::Values("Azure", "Ember"));

}  // namespace
}  // namespace tessel::player
