// The settings file init.ini: any bytes are read without harm (refused with a line
// number, or applied); a file the reader accepts is written back readable, and read and
// written again it is the same file, with the same values to the precision it keeps
// (a list path it cannot hold exactly is forgotten).
#include <cmath>

#include "fuzz/fuzz_support.h"
#include "player/startup/settings.h"
#include "player/shared/texts.h"
#include "tests/support/settings_subject.h"

namespace player = tessel::player;

namespace {

using Subject = tessel::test::SettingsHolder;

bool Near(double a, double b) { return std::fabs(a - b) <= std::fabs(a) * 1e-6 + 1e-30; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tessel::fuzz::Input in(data, size);
    // Screens of 96, 120, 144 and 150 DPI.
    const double factors[] = {15.0, 12.0, 10.0, 9.6};
    const tessel::TwipsPerPixel screen{factors[in.Byte() % 4], factors[in.Byte() % 4]};
    const std::string_view bytes = in.Rest();

    Subject first;
    const auto refused = player::ApplySettingsLines(tessel::DecodeTextLines(bytes), first.Get(), screen);
    if (refused) {
        FUZZ_CHECK(refused->line >= 1 && refused->line <= player::kSettingsLinesWritten);
        FUZZ_CHECK(!refused->expected.empty());
        return 0;
    }
    const std::vector<std::wstring> lines = player::MakeSettingsLines(first.Get(), screen);
    FUZZ_CHECK(lines.size() == player::kSettingsLinesWritten);
    const std::string written = tessel::EncodeTextLines(lines).bytes;

    Subject second;
    const auto again = player::ApplySettingsLines(tessel::DecodeTextLines(written), second.Get(), screen);
    if (again) std::fprintf(stderr, "line %zu of the written file refused\n", again->line);
    FUZZ_CHECK(!again);
    FUZZ_CHECK(tessel::EncodeTextLines(player::MakeSettingsLines(second.Get(), screen)).bytes == written);

    // The same values: exact for whole numbers, to seven digits for the position.
    FUZZ_CHECK(Near(first.leftTwips, second.leftTwips));
    FUZZ_CHECK(Near(first.topTwips, second.topTwips));
    // Text read from the file can only hold U+FFFD beyond what the code page holds.
    FUZZ_CHECK(second.vars.SkinName == tessel::fuzz::AsWrittenAndRead(first.vars.SkinName));
    const player::MenuFormControls& a = first.menu;
    const player::MenuFormControls& b = second.menu;
    FUZZ_CHECK(a.ChkBreak.Value() == b.ChkBreak.Value());
    FUZZ_CHECK(a.ChkHide.Value() == b.ChkHide.Value());
    FUZZ_CHECK(a.ChkRandom.Value() == b.ChkRandom.Value());
    FUZZ_CHECK(a.ChkEndless.Value() == b.ChkEndless.Value());
    FUZZ_CHECK(a.ChkStartPlay.Value() == b.ChkStartPlay.Value());
    FUZZ_CHECK(a.ScrSkinTrans.Value() == b.ScrSkinTrans.Value());
    FUZZ_CHECK(a.ScrPlayerTrans.Value() == b.ScrPlayerTrans.Value());
    FUZZ_CHECK(a.CmbDispSize.ListIndex() == b.CmbDispSize.ListIndex());
    FUZZ_CHECK(first.vars.VideoWindowRect.top == second.vars.VideoWindowRect.top);
    FUZZ_CHECK(first.vars.VideoWindowRect.left == second.vars.VideoWindowRect.left);
    // A list path the file cannot hold exactly is forgotten, never stored as another name.
    const std::wstring& list = a.LblM3uName.Caption();
    FUZZ_CHECK(b.LblM3uName.Caption() == (player::FitsSettingsFile(list) ? list : std::wstring()));
    return 0;
}
