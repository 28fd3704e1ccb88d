// The fixed texts of the body window and the skin window.
#pragma once

namespace tessel::player::window_texts {

inline constexpr const wchar_t* kVersionTitle = L"情報 -TesselPlayer";
inline constexpr const wchar_t* kVersionText = L"現在のバージョンは Ver 0.0.0.5 β です。";

// Tool tips of the body window's painted parts.
inline constexpr const wchar_t* kTipCmdInfo = L"バージョン情報";
inline constexpr const wchar_t* kTipCmdPopup = L"設定ウィンドウを表示します";
inline constexpr const wchar_t* kTipCmdMinimum = L"タスクトレイに格納します";
inline constexpr const wchar_t* kTipCmdClose = L"終了します";
inline constexpr const wchar_t* kTipCmdChoice = L"リストファイルを選択します";
inline constexpr const wchar_t* kTipImgPrev = L"先頭から再生し直します";
inline constexpr const wchar_t* kTipImgStop = L"停止します";
inline constexpr const wchar_t* kTipImgPlay = L"再生します";
inline constexpr const wchar_t* kTipImgNext = L"次のファイルを再生します";
inline constexpr const wchar_t* kTipLblNTime = L"現在の時間";
inline constexpr const wchar_t* kTipLblTTime = L"全体の時間";
inline constexpr const wchar_t* kTipLblTitle = L"再生中のファイル名";

}  // namespace tessel::player::window_texts
