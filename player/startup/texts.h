// The fixed texts of start-up, the settings file and shutdown.
#pragma once

namespace tessel::player::texts {

inline constexpr const wchar_t* kPlayerFormCaption = L"PlayerForm";
inline constexpr const wchar_t* kMultiActiveCaption = L"MultiActive";
inline constexpr const wchar_t* kMenuFormCaption = L"設定 - TesselPlayer";
inline constexpr const wchar_t* kTrayTip = L"TesselPlayer Ver 0.0.0.5 β";
inline constexpr const wchar_t* kDefaultSkinName = L"Azure";

// The display sizes, by index.
inline constexpr const wchar_t* kDisplaySizes[] = {
    L"標準", L"320-240", L"400-300", L"640-480", L"800-600",
    L"1024-768", L"最小化", L"最大化", L"隠す"};

// Error reports. The title names the program; the text says what went wrong and where.
inline constexpr const wchar_t* kErrorTitle = L"エラー -TesselPlayer";
inline constexpr const wchar_t* kSettingsReadFailed = L"設定ファイルを読み込めません。";
inline constexpr const wchar_t* kSettingsWriteFailed =
    L"設定ファイルを書き込めません。今回の設定は保存されません。";
inline constexpr const wchar_t* kSettingsFolderFailed = L"設定フォルダを作成できません。";
inline constexpr const wchar_t* kSkinFileMissing = L"スキンファイルを読み込めません。";
inline constexpr const wchar_t* kFavFolderFailed = L"お気に入りフォルダを作成できません。";
inline constexpr const wchar_t* kStartFailed = L"起動できません。";
inline constexpr const wchar_t* kFileLabel = L"ファイル: ";
inline constexpr const wchar_t* kLineLabel = L"行: ";
inline constexpr const wchar_t* kExpectedLabel = L"正しい値: ";
inline constexpr const wchar_t* kReasonLabel = L"理由: ";

// What a settings line should hold.
inline constexpr const wchar_t* kExpectMoreLines = L"13行以上の設定（行が足りません）";
inline constexpr const wchar_t* kExpectSkinName = L"スキン名（空にはできません）";
inline constexpr const wchar_t* kExpectCoordinate = L"ウィンドウ位置の数値（ピクセル）";
inline constexpr const wchar_t* kExpectCheck = L"0 または 1";
inline constexpr const wchar_t* kExpectOpacity = L"0 から 255 までの整数";
inline constexpr const wchar_t* kExpectDisplaySize = L"-1 から 8 までの整数";
inline constexpr const wchar_t* kExpectInt32 = L"整数（ピクセル）";

}  // namespace tessel::player::texts
