// The fixed texts of the body window and the skin window.
#pragma once

namespace tessel::player::window_texts {

inline constexpr const wchar_t* kVersionTitle = L"情報 -TesselPlayer";
inline constexpr const wchar_t* kVersionText = L"現在のバージョンは Ver 0.0.0.5 β です。";

}  // namespace tessel::player::window_texts
