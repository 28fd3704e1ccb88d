// What the programs rely on from the system they run on: the Japanese code page, the
// screen scale the skins are drawn for, and the manifest our programs carry.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/twips.h"

namespace {

TEST(Win32Runner, JapaneseCodePageAndScale) {
    EXPECT_EQ(GetACP(), 932u);
    const tessel::TwipsPerPixel tpp = tessel::ScreenTwipsPerPixel();
    EXPECT_DOUBLE_EQ(tpp.x, 15.0);
    EXPECT_DOUBLE_EQ(tpp.y, 15.0);
}

TEST(Win32Runner, ManifestAsksForCommonControls6AndPerMonitorDpiAwareness) {
    // Wine treats every process as DPI-aware whatever the manifest says, so the
    // manifest itself is checked: what Windows reads from it.
    HRSRC res = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(res, nullptr);
    HGLOBAL loaded = LoadResource(nullptr, res);
    ASSERT_NE(loaded, nullptr);
    const std::string text(static_cast<const char*>(LockResource(loaded)), SizeofResource(nullptr, res));
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    // Per monitor v2 first, v1 after it for Windows 10 before 1703, and Windows 8.1's form.
    EXPECT_NE(text.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(text.find(">true/pm</dpiAware>"), std::string::npos);
}

}  // namespace
