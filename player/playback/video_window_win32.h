// The video windows of the MCI drivers on Win32 (VideoWindows of transport.h).
#pragma once

#include <windows.h>

#include "player/playback/transport.h"

namespace tessel::player {

class VideoWindowsWin32 final : public VideoWindows {
public:
    bool IsVideoWindow(WindowId window) const override;
    bool Rect(WindowId window, ScreenRect& rect) const override;
    void Resize(WindowId window, int left, int top, int width, int height) override;
    void Show(WindowId window, DisplayAction action) override;
    void MakeTopmost(WindowId window) override;

    // FindVideoWindow's search: a top-level window of this class and title that
    // belongs to this process (another program, or a second player playing the same
    // file, may have one of the same name); 0 if none.
    static WindowId Find(const std::wstring& windowClass, const std::wstring& title);
};

}  // namespace tessel::player
