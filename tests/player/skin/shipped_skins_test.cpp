// The skins the build draws and ships: each must be usable as it stands, and must fit
// the body window whose layout is fixed and leave its painted parts showing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "player/shared/body_parts.h"
#include "player/skin/mask_runs.h"
#include "player/skin/placement.h"
#include "player/skin/skin_layout.h"
#include "player/skin/image_files.h"
#include "tests/support/temp_dir.h"

namespace tessel::player {
namespace {

const std::string kPartsDir = TESSEL_TEST_PARTS_DIR;

BmpImage Decoded(const std::string& path) {
    BmpImage image;
    EXPECT_EQ(DecodeBmp(tessel::test::TempDir::ReadBytes(path), kMaxSkinSide, image), ImageProblem::None) << path;
    return image;
}

// Opaque points of a mask file as a width x height grid.
struct Shape {
    int width = 0, height = 0;
    std::vector<bool> opaque;
    bool At(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && opaque[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
};

Shape LoadShape(const std::string& path, int scanW, int scanH, const RgbColour& key) {
    const BmpImage img = Decoded(path);
    const MaskPixels view{img.pixels.data(), img.width, img.height, img.width};
    Shape s;
    s.width = scanW;
    s.height = scanH;
    s.opaque.assign(std::size_t(scanW) * std::size_t(scanH), false);
    for (const PixelRun& r : MaskToRuns(view, scanW, scanH, DibPixel(key.red, key.green, key.blue)))
        for (int x = r.left; x < r.right; ++x) s.opaque[std::size_t(r.y) * std::size_t(scanW) + std::size_t(x)] = true;
    return s;
}

class ShippedSkin : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        dir_ = kPartsDir + "/" + GetParam() + "/";
        auto error = ReadSkinLayout(dir_ + "define.ini", layout_);
        ASSERT_FALSE(error) << DescribeSkinLayoutError(*error, L"define.ini");
    }
    std::string dir_;
    SkinLayout layout_;
};

TEST_P(ShippedSkin, HasEveryFileAtTheSizesItsLayoutImplies) {
    // player.bmp is the picture of the picture box below the command buttons: 1440 x
    // 1020 twips of it are visible in the window.
    const PixelSize body = PlayerFormPixelSize({15, 15});
    const struct {
        const char* file;
        int width, height;
    } pictures[] = {{"skin.bmp", layout_.ScanWidth(), layout_.ScanHeight()},
                    {"s_mask.bmp", layout_.ScanWidth(), layout_.ScanHeight()},
                    {"p_mask.bmp", body.width, body.height},
                    {"player.bmp", 96, 68}};
    for (const auto& p : pictures) {
        const BmpImage image = Decoded(dir_ + p.file);
        EXPECT_EQ(image.width, p.width) << p.file;
        EXPECT_EQ(image.height, p.height) << p.file;
    }
    // The icon's sizes are checked where the platform loads it (skin_window_test).
    EXPECT_EQ(CheckIco(tessel::test::TempDir::ReadBytes(dir_ + "task.ico")), ImageProblem::None);
}

TEST_P(ShippedSkin, SkinWindowFramesTheBodyWindowWithoutCoveringIt) {
    const Shape skin = LoadShape(dir_ + "s_mask.bmp", layout_.ScanWidth(), layout_.ScanHeight(), layout_.skinKey);
    const Shape body = LoadShape(dir_ + "p_mask.bmp", 96, 83, layout_.playerKey);
    PlacementInput in;
    in.skinLeft = 0;
    in.skinTop = 0;
    in.skinHeight = layout_.skinHeight * 15;
    in.playerOffsetX = layout_.playerOffsetX;
    in.playerOffsetY = layout_.playerOffsetY;
    const PixelPoint at = PlayerFormPosition(in);
    // The body window lies within the skin window ...
    ASSERT_GE(at.x, 0);
    ASSERT_GE(at.y, 0);
    ASSERT_LE(at.x + 96, skin.width);
    ASSERT_LE(at.y + 83, skin.height);
    // ... the skin window, which stays above it, is cut away wherever the body shows ...
    int covered = 0, gaps = 0;
    for (int y = 0; y < 83; ++y)
        for (int x = 0; x < 96; ++x)
            if (body.At(x, y) && skin.At(at.x + x, at.y + y)) ++covered;
    EXPECT_EQ(covered, 0) << "skin pixels over the body window hide its controls";
    // ... and together they leave no hole around the body (two pixels all round).
    for (int y = at.y - 2; y < at.y + 83 + 2; ++y)
        for (int x = at.x - 2; x < at.x + 96 + 2; ++x)
            if (!skin.At(x, y) && !body.At(x - at.x, y - at.y)) ++gaps;
    EXPECT_EQ(gaps, 0) << "the desktop shows between the skin and the body window";
    // The body window's painted parts show through its own shape (rounded corners may
    // take a few pixels of the corner ones).
    for (const BodyPartDesign& d : BodyParts()) {
        const ScreenRect r = VisiblePartPixels(d.part, {15, 15}, 96, 83);
        int opaque = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) opaque += body.At(x, y);
        EXPECT_GE(opaque * 10, (r.right - r.left) * (r.bottom - r.top) * 9) << static_cast<int>(d.part);
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, ShippedSkin, ::testing::Values("Azure", "Ember"));

}  // namespace
}  // namespace tessel::player
