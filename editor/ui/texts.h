// Every fixed text the editor shows, Japanese included, in one place: by the window
// that shows it.
#pragma once

// Form1 (the main window)
namespace listwright::texts::form1 {

inline constexpr const wchar_t kCaption[] = L"Quillow";
inline constexpr const wchar_t kMenuFile[] = L"ファイル";
inline constexpr const wchar_t kMenuEdit[] = L"編集";
inline constexpr const wchar_t kOpenTitle[] = L"リストファイルを開く";
inline constexpr const wchar_t kOpenFilter[] = L"リストファイル(*.*)|*.*|";
inline constexpr const wchar_t kSaveTitle[] = L"保存するファイル";
inline constexpr const wchar_t kSaveFilter[] = L"m3uファイル(*.m3u)|*.m3u|m3u8ファイル(*.m3u8)|*.m3u8|";
inline constexpr const wchar_t kQuestionTitle[] = L"確認";
inline constexpr const wchar_t kErrorTitle[] = L"エラー";
inline constexpr const wchar_t kInfoTitle[] = L"情報";
inline constexpr const wchar_t kSizeOver[] = L"ファイルサイズが1MBを超えます\r\n本当に開きますか？";
inline constexpr const wchar_t kOverwrite[] = L"上書きします。よろしいですか？";
inline constexpr const wchar_t kSaveChanges[] = L"リストは変更されています。保存しますか？";
// Shown by Windows beside the editor while the question above holds up a log-off.
inline constexpr const wchar_t kUnsavedBlockReason[] = L"リストが保存されていません。";
inline constexpr const wchar_t kAlteredBefore[] = L"シフトJISで表せない文字を含む項目が ";
inline constexpr const wchar_t kAlteredAfter[] = L" 件あります。\r\nその文字を「?」に置き換えて保存しますか？";
// The same question when a ".m3u8" list would keep those characters: はい saves there.
inline constexpr const wchar_t kAlteredOfferAfter[] =
    L" 件あります。\r\nUTF-8のリストファイル（.m3u8）として保存すれば、その文字もそのまま残せます。\r\n\r\n"
    L"はい: 「";
inline constexpr const wchar_t kAlteredOfferUtf8[] = L"」に保存します。\r\nいいえ: その文字を「?」に置き換えて「";
inline constexpr const wchar_t kAlteredOfferEnd[] = L"」に保存します。\r\nキャンセル: 保存しません。";
inline constexpr const wchar_t kUnreadableBefore[] = L"読み込めなかった文字（\uFFFD）を含む項目が ";
inline constexpr const wchar_t kUnreadableAfter[] = L" 件あります。\r\nそのまま保存しますか？";
inline constexpr const wchar_t kReadFailed[] = L"ファイルを読み込めませんでした。";
inline constexpr const wchar_t kWriteFailed[] = L"ファイルを保存できませんでした。元のファイルは変更されていません。";
inline constexpr const wchar_t kLeftOutBefore[] = L"リストに入りきらない ";
inline constexpr const wchar_t kLeftOutAfter[] = L" 件は追加しませんでした。\r\n（リストに登録できるのは32767件までです）";
inline constexpr const wchar_t kClipboardBusy[] =
    L"クリップボードを使用できませんでした。\r\nしばらくしてからもう一度実行してください。";
inline constexpr const wchar_t kExtFolderMissing[] = L"拡張子の設定フォルダが見つかりません。";
inline constexpr const wchar_t kExtReadFailed[] = L"拡張子の設定ファイルを読み込めませんでした。";
inline constexpr const wchar_t kExtWriteFailed[] = L"拡張子の設定ファイルを保存できませんでした。";

}  // namespace listwright::texts::form1

// Form2 (the pattern dialog)
namespace listwright::texts::form2 {

inline constexpr const wchar_t kCaption[] = L"ワイルドカード検索";
inline constexpr const wchar_t kRun[] = L"実行";
inline constexpr const wchar_t kCancel[] = L"キャンセル";
inline constexpr const wchar_t kInitialPattern[] = L"*";

}  // namespace listwright::texts::form2

// Form3 (the extension dialog)
namespace listwright::texts::form3 {

inline constexpr const wchar_t kCaption[] = L"登録する拡張子";
inline constexpr const wchar_t kRegister[] = L"新規登録";
inline constexpr const wchar_t kClose[] = L"×";
inline constexpr const wchar_t kMenuEdit[] = L"編集";
inline constexpr const wchar_t kErrorTitle[] = L"エラー";
inline constexpr const wchar_t kPatternUnstorable[] =
    L"この拡張子には設定ファイルに保存できない文字が含まれているため、登録できません。";
inline constexpr const wchar_t kListFull[] = L"これ以上登録できません。\r\n（登録できるのは32767件までです）";

}  // namespace listwright::texts::form3
