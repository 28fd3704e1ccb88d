// The manifest both programs carry: what Windows reads from it (Wine treats every
// process as DPI-aware whatever the manifest says, and takes no visual styles from it).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Manifest, AsksForCommonControls6AndPerMonitorDpiAwareness) {
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
