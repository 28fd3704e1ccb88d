// Every fixed text the player shows, Japanese included, in one place: by the part of
// the program that shows it.
#pragma once

// The fixed texts of start-up, the settings file and shutdown.
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
inline constexpr const wchar_t* kFavFolderUnreadable = L"お気に入りフォルダを読み込めません。";
// The start goes on without favourites, and says so once.
inline constexpr const wchar_t* kFavUnavailable = L"お気に入りリストを使わずに続けます。";
inline constexpr const wchar_t* kFolderLabel = L"フォルダ: ";
inline constexpr const wchar_t* kStartFailed = L"起動できません。";
// A second start whose file the running player could not take.
inline constexpr const wchar_t* kHandOverFailed = L"実行中のプレイヤーにファイルを渡せませんでした。";
inline constexpr const wchar_t* kHandOverPlayerEnded = L"実行中のプレイヤーが終了しました。";
inline constexpr const wchar_t* kHandOverNoAnswer = L"実行中のプレイヤーが応答しません。";
// The skin the settings name cannot be used (its folder deleted, renamed, or named by a
// short name the volume no longer has): the start goes on with another, and says so
// under the skin list's error title. "スキン「A」… スキン「B」で起動します。" and the reason.
inline constexpr const wchar_t* kStartSkinReplacedTitle = L"読込エラー";
inline constexpr const wchar_t* kStartSkinReplaced1 = L"スキン「";
inline constexpr const wchar_t* kStartSkinReplaced2 = L"」が見つからないか使えないため、スキン「";
inline constexpr const wchar_t* kStartSkinReplaced3 = L"」で起動します。";
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

// The fixed texts of the control panel.
namespace tessel::player::menu_texts {

inline constexpr const wchar_t* kLabel1 = L"再生中のリストファイル名";
inline constexpr const wchar_t* kLabel2 = L"再生中のファイル名";
inline constexpr const wchar_t* kLabel3 = L"スキンファイル";
inline constexpr const wchar_t* kLabel4 = L"透明度   ( windows2000以降 )";
inline constexpr const wchar_t* kLabel6 = L"再生リスト";
inline constexpr const wchar_t* kLabel7 = L"ディスプレイ表示";
inline constexpr const wchar_t* kLabel8 = L"ファイル";
inline constexpr const wchar_t* kChkRandom = L"ランダム";
inline constexpr const wchar_t* kChkEndless = L"エンドレス";
inline constexpr const wchar_t* kChkHide = L"隠す";
inline constexpr const wchar_t* kChkBreak = L"固定";
inline constexpr const wchar_t* kChkStartPlay = L"起動時に再生";
inline constexpr const wchar_t* kCmdHide = L"非表示";
inline constexpr const wchar_t* kCmdMove00 = L"0,0移動";
inline constexpr const wchar_t* kCmdExecEdit = L"エディタ起動...";
inline constexpr const wchar_t* kCmdChoice = L"リスト選択...";

// The hidden right-click menus.
inline constexpr const wchar_t* kFLMenuRoot = L"リストメニュー";
inline constexpr const wchar_t* kFLMenuPlay = L"再生";
inline constexpr const wchar_t* kFLMenuDelete = L"削除";
inline constexpr const wchar_t* kFLMenuCopy = L"コピー";
inline constexpr const wchar_t* kFLMenuReLoad = L"リスト再読込";
inline constexpr const wchar_t* kFLMenuClear = L"クリア";
inline constexpr const wchar_t* kMenuLabelListRoot = L"ラベルメニュー-リスト";
inline constexpr const wchar_t* kMenuLabelMediaRoot = L"ラベルメニュー-メディア";
inline constexpr const wchar_t* kMLCopy = L"コピー";
inline constexpr const wchar_t* kMLLReLoad = L"リスト再読込";
inline constexpr const wchar_t* kSkinMenuRoot = L"スキンメニュー";
inline constexpr const wchar_t* kSkinMenuChangeSkin = L"スキン変更";
inline constexpr const wchar_t* kSkinMenuUpdate = L"更新";

// The skin list's messages.
inline constexpr const wchar_t* kSkinConfirmSuffix = L" 適用しますか？";
inline constexpr const wchar_t* kSkinConfirmTitle = L"スキンファイルの変更確認";
inline constexpr const wchar_t* kSkinMissing = L"スキンが存在しません";
inline constexpr const wchar_t* kSkinMissingTitle = L"読込エラー";
// A skin that cannot be used; the current one stays. The reason follows.
inline constexpr const wchar_t* kSkinUnusable = L"このスキンは使えません。現在のスキンのままにします。";
// The chosen skin failed on the windows and the one in use could not be put back: the
// two reasons follow.
inline constexpr const wchar_t* kSkinRestoreFailed =
    L"スキンを変更できず、元のスキンにも戻せませんでした。別のスキンを選んでください。";

// Names the settings file (code page 932) cannot keep.
inline constexpr const wchar_t* kNoticeTitle = L"注意";
inline constexpr const wchar_t* kListNotRemembered =
    L"このリストファイルの名前には設定ファイルに保存できない文字が含まれているため、"
    L"次回の起動時には開かれません。";
inline constexpr const wchar_t* kSkinNameUnstorable =
    L"このスキンの名前には設定ファイルに保存できない文字が含まれているため、選べません。"
    L"現在のスキンのままにします。";

// A copy that could not reach the clipboard (another program held it too long).
inline constexpr const wchar_t* kClipboardBusy =
    L"クリップボードを使用できませんでした。\r\nしばらくしてからもう一度実行してください。";
inline constexpr const wchar_t* kErrorTitle = L"エラー";

inline constexpr const wchar_t* kMenuRoot = L"メニュー";
inline constexpr const wchar_t* kMenuPlay = L"再生/次へ(Enter)";
inline constexpr const wchar_t* kMenuStop = L"一時停止/解除(Space)";
inline constexpr const wchar_t* kMenuPrev = L"先頭へ戻る(BackSpace)";
inline constexpr const wchar_t* kMenuReLoadList = L"リスト再読込";
inline constexpr const wchar_t* kMenuFavorite = L"お気に入りリスト";
inline constexpr const wchar_t* kMenuChoiceList = L"リストファイルの選択";
inline constexpr const wchar_t* kMenuShowSetting = L"設定ウィンドウの表示/非表示";
inline constexpr const wchar_t* kMenuShowMain = L"本体ウィンドウの表示/非表示";
inline constexpr const wchar_t* kMenuTheEnd = L"終了";

// Choosing a list file (CDlg's open dialog and the size question).
inline constexpr const wchar_t* kListFileFilter = L"プレイリストファイル(*.*)|*.*|";
inline constexpr const wchar_t* kListFileDialogTitle = L"リストファイルの選択";
inline constexpr const wchar_t* kConfirmTitle = L"確認";
inline constexpr const wchar_t* kLargeListQuestion = L"リストファイルのサイズが1MBを超えます\r\n本当に開きますか？";

// Tool tips of the panel's controls.
inline constexpr const wchar_t* kTipChkBreak = L"ウィンドウ位置を固定します";
inline constexpr const wchar_t* kTipChkEndless = L"エンドレスで再生し続けます";
inline constexpr const wchar_t* kTipChkHide = L"ウィンドウを隠します";
inline constexpr const wchar_t* kTipChkRandom = L"リストをランダムに再生します";
inline constexpr const wchar_t* kTipCmdChoice = L"リストファイルを選択します";
inline constexpr const wchar_t* kTipCmdExecEdit = L"付属のリストエディタを起動します";
inline constexpr const wchar_t* kTipCmdHide = L"設定ウィンドウを隠します";
inline constexpr const wchar_t* kTipCmdMove00 = L"ウィンドウを0,0にもどします";
inline constexpr const wchar_t* kTipLblM3uName = L"現在のリストファイル名";
inline constexpr const wchar_t* kTipLblMediaName = L"現在再生中のファイル名";
inline constexpr const wchar_t* kTipLstM3u = L"現在再生中のリスト";
inline constexpr const wchar_t* kTipLstSkinFile = L"スキンファイル一覧";
inline constexpr const wchar_t* kTipCmbDispSize = L"ディスプレイの表示スタイル";

}  // namespace tessel::player::menu_texts

// The fixed texts of the body window and the skin window.
namespace tessel::player::window_texts {

inline constexpr const wchar_t* kVersionTitle = L"情報 -TesselPlayer";
inline constexpr const wchar_t* kVersionText = L"現在のバージョンは Ver 0.0.0.5 β です。";

// Tool tips of the body window's painted parts.
inline constexpr const wchar_t* kTipCmdInfo = L"バージョン情報";
inline constexpr const wchar_t* kTipCmdPopup = L"設定ウィンドウを表示します";
inline constexpr const wchar_t* kTipCmdMinimum = L"タスクトレイに格納します";
inline constexpr const wchar_t* kTipCmdClose = L"終了します";
inline constexpr const wchar_t* kTipCmdChoice = menu_texts::kTipCmdChoice;
inline constexpr const wchar_t* kTipImgPrev = L"先頭から再生し直します";
inline constexpr const wchar_t* kTipImgStop = L"停止します";
inline constexpr const wchar_t* kTipImgPlay = L"再生します";
inline constexpr const wchar_t* kTipImgNext = L"次のファイルを再生します";
inline constexpr const wchar_t* kTipLblNTime = L"現在の時間";
inline constexpr const wchar_t* kTipLblTTime = L"全体の時間";
inline constexpr const wchar_t* kTipLblTitle = L"再生中のファイル名";
// The two bars have no tool tips; a screen reader still needs to tell them apart.
inline constexpr const wchar_t* kNameScrTime = L"再生位置";
inline constexpr const wchar_t* kNameScrVolume = L"音量";
// What pressing a picture button is called (the default action of a push button).
inline constexpr const wchar_t* kActionPress = L"押す";

}  // namespace tessel::player::window_texts

// The fixed texts the skin engine shows when a skin cannot be used.
namespace tessel::player::skin_texts {

inline constexpr const wchar_t* kLayoutUnreadable = L"スキンの定義ファイルを読み込めません。";
inline constexpr const wchar_t* kLayoutMalformed = L"スキンの定義ファイルの内容が正しくありません。";
using texts::kExpectedLabel;
using texts::kFileLabel;
using texts::kLineLabel;
using texts::kReasonLabel;
inline constexpr const wchar_t* kFieldSuffix = L" 番目の値";
inline constexpr const wchar_t* kFoundLabel = L"書かれている値: ";

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
inline constexpr const wchar_t* kFileMissing = L"ファイルがありません。";
inline constexpr const wchar_t* kNotAFile = L"ファイルではなくフォルダです。";
inline constexpr const wchar_t* kPictureTooLarge = L"画像が大きすぎます（縦横とも 8192 ピクセルまで）: ";
inline constexpr const wchar_t* kNotABitmap = L"ビットマップ画像として読めません。";
inline constexpr const wchar_t* kNotAnIcon = L"アイコンとして読めません。";
inline constexpr const wchar_t* kNoSuchWindow = L"ウィンドウがありません。";
inline constexpr const wchar_t* kShapeTooComplex = L"マスクの形が複雑すぎて表示できません（長方形 ";
inline constexpr const wchar_t* kShapeTooComplexLimit = L" 個。";
inline constexpr const wchar_t* kShapeTooComplexEnd = L" 個まで）。";
inline constexpr const wchar_t* kPictureEmpty = L"画像の大きさが 0 です。";
inline constexpr const wchar_t* kImageTruncated =
    L"ファイルが途中で切れています（ヘッダーに書かれた大きさのデータがありません）。";
inline constexpr const wchar_t* kImageTooLarge = L"ファイルが大きすぎます。";
inline constexpr const wchar_t* kImageUnsupported = L"この圧縮形式の画像には対応していません。";
inline constexpr const wchar_t* kSkinFolderUnreadable = L"スキンのフォルダを読み込めません。";

}  // namespace tessel::player::skin_texts
