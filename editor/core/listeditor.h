// The editor's document and commands: the list, the current file (the status bar's
// text), the extension patterns and the hidden work lists, with one member function
// per menu command. The window forwards its menu items here; the questions, messages,
// dialogs, clipboard and file system it needs come through EditorHost, so the same
// commands run in the program and in the native tests.
#pragma once

#include <cstddef>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "editor/core/clipboard.h"
#include "editor/core/dropwalk.h"
#include "editor/core/entrylist.h"
#include "editor/core/extsettings.h"
#include "editor/core/listfunc.h"
#include "editor/core/sortedlist.h"
#include "editor/core/textvalue.h"

namespace listwright {

class EditorHost {
public:
    enum class Question {
        SizeOver,        // a list file of more than 1,100,000 bytes: OK / Cancel
        Overwrite,       // Save As onto an existing file: Yes / No
        AlteredEntries,  // entries code page 932 cannot hold: OK / Cancel (count given)
        UnreadableEntries,  // saving UTF-8 entries that hold U+FFFD: OK / Cancel (count)
    };
    // The answer to entries code page 932 cannot hold when UTF-8 could keep them.
    enum class AlteredChoice {
        SaveAsUtf8,  // はい: save under the ".m3u8" name instead, every name kept
        Replace,     // いいえ: save as asked, those characters as '?'
        Cancel,      // キャンセル: save nothing
    };
    enum class Notice {
        ReadFailed,        // a list file could not be read (subject: path)
        WriteFailed,       // a list file could not be written; the old one is intact
        LeftOut,           // entries that did not fit in the list (count given)
        ClipboardBusy,     // another program kept the clipboard
        ExtFolderMissing,  // no m3usetting folder (subject: the folder)
        ExtReadFailed,     // ext.ini could not be read or created
        ExtWriteFailed,    // ext.ini could not be written
    };
    // What to do with a list changed since it was last opened, created or saved,
    // before it is closed or replaced.
    enum class SaveChoice {
        Save,     // はい: save it first
        Discard,  // いいえ: let it go
        Cancel,   // キャンセル: keep it and do nothing
    };
    virtual ~EditorHost() = default;
    // The open and save dialogs of the one common dialog object; nothing if cancelled.
    virtual std::optional<std::wstring> ShowOpenDialog() = 0;
    virtual std::optional<std::wstring> ShowSaveDialog() = 0;
    // True for OK or Yes.
    virtual bool Ask(Question question, std::size_t count) = 0;
    virtual SaveChoice AskSaveChanges() = 0;
    // AlteredEntries with the way out: `count` entries would be altered in `path`, and
    // saving to `utf8Path` would keep them.
    virtual AlteredChoice AskAlteredOrUtf8(std::size_t count, const std::wstring& path,
                                           const std::wstring& utf8Path) = 0;
    virtual void Tell(Notice notice, const std::wstring& subject, const std::wstring& detail,
                      std::size_t count) = 0;
    virtual ClipboardPort& Clipboard() = 0;
    virtual FolderSource& Folders() = 0;
    // Lets the window process its pending messages once; false if the program is ending.
    virtual bool LetMessagesRun() = 0;
};

class ListEditor {
public:
    explicit ListEditor(EditorHost& host) : host_(host) {}
    ListEditor(const ListEditor&) = delete;
    ListEditor& operator=(const ListEditor&) = delete;

    EntryList& MainList() { return mainList_; }
    const EntryList& MainList() const { return mainList_; }
    // The current file, held as the status bar's text.
    TextValue& SBar() { return sbar_; }
    const SortedStringList& ExtList() const { return extList_; }

    // Start and exit: ext.ini.
    void LoadExtensions(const std::filesystem::path& iniPath);
    // False if it could not be written (the user has been told).
    bool SaveExtensions();
    // Replaces the patterns (the extension dialog closing); they are kept sorted. The
    // same patterns in the same order are no change.
    void ReplaceExtensions(const std::vector<std::wstring>& patterns);

    // True when the list differs from the one last opened, created or saved.
    bool Modified() const;
    // Before the list is closed or replaced: an unchanged list goes without a word; a
    // changed one only once the user has said so, saved if asked. False when the user
    // kept it (cancelled, or the save did not happen): the caller then stops.
    bool ConfirmDiscard();

    // File commands.
    void CreateNewFile();
    void EditExistFile();
    void OverwriteFile();
    void NameFileSave();
    void AddingList();
    void ExpFiles();
    void EnumNameSeq();
    void NoExistsDelete();

    // Selection and clipboard.
    void CutFromList();
    void CopyFromList();
    void DeleteFromList();
    void ClearList();
    void PasteToList();
    void PasteToPoint();
    void ListAllChoice();
    void ReverseChoiceList();
    void NoChoiceList();
    void SelectMatching(const std::wstring& pattern);

    // A drop of files and folders onto the list. A drop that arrives while an earlier
    // one is still being walked waits for it and runs after it.
    void DropFiles(std::vector<std::wstring> dropped);
    bool Walking() const { return walking_; }

private:
    std::optional<std::vector<std::wstring>> ReadChosenFile(const std::wstring& path);
    // Writes the list to `path` after the questions its contents need; once written, the
    // file it went to (the ".m3u8" one if the user chose it) is the current file and
    // the list is unchanged. False if nothing was written.
    bool WriteList(const std::wstring& path);
    // Overwrite, or Save As without a current file; true once the list is on disk.
    bool SaveList();
    bool SaveListAs();
    // The list as it is now is the one on disk (or the new empty one).
    void MarkUnchanged();
    void ReportLeftOut(std::size_t leftOut);
    void ReportClip(ClipResult result);

    EditorHost& host_;
    EntryList mainList_;
    TextValue sbar_;
    SortedStringList extList_;
    SortedStringList sortTrueList_;
    std::vector<std::wstring> filesList_;
    FolderQueue opeListPrim_;
    FolderQueue opeListSec_;
    std::wstring opeText_;

    // The entries as they were last opened, created or saved.
    std::vector<std::wstring> unchangedTexts_;

    std::filesystem::path extIniPath_;
    // Lines of ext.ini that are written back as the bytes they were read as.
    KeptLineBytes extKept_;
    // ext.ini existed but could not be read: writing it at exit would destroy patterns
    // the user never saw, unless the user has set the patterns since.
    bool extIniUnknown_ = false;

    bool walking_ = false;
    std::deque<std::vector<std::wstring>> pendingDrops_;
};

}  // namespace listwright
