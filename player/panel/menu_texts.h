// The fixed texts of the control panel.
#pragma once

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
inline constexpr const wchar_t* kMigiMenu = L"右メニュー";
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
