#include "player/skin/skin_paths.h"

namespace tessel::player {

std::wstring JoinProgramPath(const std::wstring& folder, const std::wstring& relative) {
    // A drive root ("C:\") already ends with the separator.
    if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) return folder + relative;
    return folder + L"\\" + relative;
}

void SetSkinPaths(const std::wstring& programFolder, LLVariable& vars, bool atStartUp) {
    const std::wstring base = JoinProgramPath(programFolder, L"parts\\" + vars.SkinName + L"\\");
    vars.SkinMaskPath = base + L"s_mask.bmp";
    vars.SkinBitmapPath = base + L"skin.bmp";
    vars.PlayerMaskPath = base + L"p_mask.bmp";
    vars.PlayerBitmapPath = base + L"player.bmp";
    vars.TrayIconPath = base + L"task.ico";
    vars.DefinePath = base + L"define.ini";
    if (atStartUp) {
        vars.TimeBarFocused = false;
        vars.VolumeActive = false;
    }
}

}  // namespace tessel::player
