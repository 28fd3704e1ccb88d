// The fixed texts the skin engine shows when a skin cannot be used.
#pragma once

namespace tessel::player::skin_texts {

inline constexpr const wchar_t* kLayoutUnreadable = L"スキンの定義ファイルを読み込めません。";
inline constexpr const wchar_t* kLayoutMalformed = L"スキンの定義ファイルの内容が正しくありません。";
inline constexpr const wchar_t* kFileLabel = L"ファイル: ";
inline constexpr const wchar_t* kLineLabel = L"行: ";
inline constexpr const wchar_t* kFieldSuffix = L" 番目の値";
inline constexpr const wchar_t* kFoundLabel = L"書かれている値: ";
inline constexpr const wchar_t* kExpectedLabel = L"正しい値: ";
inline constexpr const wchar_t* kReasonLabel = L"理由: ";

// What each line holds, for reports of a missing line or field.
inline constexpr const wchar_t* kExpectLine[] = {
    L"スキンウィンドウの幅,高さ（ピクセル）",
    L"スキンマスクの透過色 赤,緑,青",
    L"プレイヤーマスクの透過色 赤,緑,青",
    L"文字色 赤,緑,青",
    L"プレイヤーウィンドウの縦位置,横位置（ピクセル）",
};
inline constexpr const wchar_t* kExpectFiveLines = L"5 行の定義（行が足りません）";
inline constexpr const wchar_t* kExpectNumber = L"数値";
inline constexpr const wchar_t* kExpectSide = L"1 から 8192 までの数値（ピクセル）";
inline constexpr const wchar_t* kExpectColour = L"0 から 255 までの整数";
inline constexpr const wchar_t* kExpectOffset = L"-2147483648 から 2147483647 までの整数（ピクセル）";

// Pictures, masks and windows of a skin.
inline constexpr const wchar_t* kMaskUnusable = L"スキンのマスク画像を読み込めません。";
inline constexpr const wchar_t* kPictureUnusable = L"スキンの画像ファイルを読み込めません。";
inline constexpr const wchar_t* kIconUnusable = L"スキンのアイコンファイルを読み込めません。";
inline constexpr const wchar_t* kShapeFailed = L"ウィンドウの形を設定できません。";
inline constexpr const wchar_t* kPlaceFailed = L"ウィンドウを配置できません。";
inline constexpr const wchar_t* kWindowLabel = L"ウィンドウ: ";
inline constexpr const wchar_t* kFileMissing = L"ファイルがありません。";
inline constexpr const wchar_t* kNotAFile = L"ファイルではなくフォルダです。";
inline constexpr const wchar_t* kPictureTooLarge = L"画像が大きすぎます（縦横とも 8192 ピクセルまで）: ";
inline constexpr const wchar_t* kNotABitmap = L"ビットマップ画像として読めません。";
inline constexpr const wchar_t* kNotAnIcon = L"アイコンとして読めません。";
inline constexpr const wchar_t* kNoSuchWindow = L"ウィンドウがありません。";
inline constexpr const wchar_t* kPictureEmpty = L"画像の大きさが 0 です。";
inline constexpr const wchar_t* kImageTruncated =
    L"ファイルが途中で切れています（ヘッダーに書かれた大きさのデータがありません）。";
inline constexpr const wchar_t* kImageTooLarge = L"ファイルが大きすぎます。";
inline constexpr const wchar_t* kImageUnsupported = L"この圧縮形式の画像には対応していません。";
inline constexpr const wchar_t* kSkinFolderUnreadable = L"スキンのフォルダを読み込めません。";

}  // namespace tessel::player::skin_texts
