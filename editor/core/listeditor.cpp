#include "editor/core/listeditor.h"

#include "common/fileio.h"
#include "common/flag_scope.h"
#include "editor/core/extsettings.h"
#include "editor/core/listfunc.h"
#include "editor/listfile/listfile.h"

namespace listwright {

namespace lf = tessel::listfile;

// ---- ext.ini -------------------------------------------------------------------------

void ListEditor::LoadExtensions(const std::filesystem::path& iniPath) {
    extIniPath_ = iniPath;
    extList_.Clear();
    const ExtIniRead read = ReadExtIni(iniPath);
    switch (read.status) {
    case ExtIniRead::Status::Ok:
        extList_.InsertAll(read.patterns);
        extKept_ = read.kept;
        break;
    case ExtIniRead::Status::CreatedEmpty:
        break;
    case ExtIniRead::Status::FolderMissing:
        host_.Tell(EditorHost::Notice::ExtFolderMissing, iniPath.parent_path().wstring(), L"", 0);
        break;
    case ExtIniRead::Status::Failed:
        extIniUnknown_ = true;
        host_.Tell(EditorHost::Notice::ExtReadFailed, iniPath.wstring(), read.error, 0);
        break;
    }
}

bool ListEditor::SaveExtensions() {
    if (extIniPath_.empty() || extIniUnknown_) return true;
    const ExtIniWrite written = WriteExtIni(extIniPath_, extList_.Items(), extKept_);
    if (!written.ok) {
        host_.Tell(EditorHost::Notice::ExtWriteFailed, extIniPath_.wstring(), written.error, 0);
        return false;
    }
    return true;
}

void ListEditor::ReplaceExtensions(const std::vector<std::wstring>& patterns) {
    // The dialog hands its list back however it closes; handed back as it was given,
    // nothing was decided, and a file that could not be read stays as it is.
    if (patterns == extList_.Items()) return;
    extList_.Clear();
    extList_.InsertAll(patterns);
    extIniUnknown_ = false;
}

// ---- file commands -------------------------------------------------------------------

std::optional<std::vector<std::wstring>> ListEditor::ReadChosenFile(const std::wstring& path) {
    // A missing file (or a folder) ends the command quietly with nothing changed.
    const std::optional<std::uint64_t> size = tessel::FileSizeOf(path);
    if (!size) return std::nullopt;
    if (lf::NeedsSizeConfirmation(*size) && !host_.Ask(EditorHost::Question::SizeOver, 0)) {
        return std::nullopt;
    }
    // The whole file is read before anything changes, so a read that fails halfway
    // leaves the list and the current file as they were.
    lf::ReadResult read = lf::ReadListFile(path);
    if (!read.ok) {
        host_.Tell(EditorHost::Notice::ReadFailed, path, read.error, 0);
        return std::nullopt;
    }
    return std::move(read.entries);
}

bool ListEditor::WriteList(const std::wstring& path) {
    const std::vector<std::wstring> entries = mainList_.Texts();
    std::wstring target = path;
    if (lf::IsUtf8ListName(tessel::PathFromWide(path))) {
        const std::size_t altered = lf::CountAlteredEntries(entries, tessel::TextEncoding::Utf8);
        if (altered > 0 && !host_.Ask(EditorHost::Question::UnreadableEntries, altered)) return false;
    } else if (const std::size_t altered = lf::CountAlteredEntries(entries); altered > 0) {
        if (lf::CountKeptOnlyByUtf8(entries) == 0) {
            // Nothing UTF-8 would keep either (only characters already lost on reading).
            if (!host_.Ask(EditorHost::Question::AlteredEntries, altered)) return false;
        } else {
            const std::wstring utf8Path = tessel::WideFromPath(lf::Utf8ListName(tessel::PathFromWide(path)));
            switch (host_.AskAlteredOrUtf8(altered, path, utf8Path)) {
            case EditorHost::AlteredChoice::Replace: break;
            case EditorHost::AlteredChoice::Cancel: return false;
            case EditorHost::AlteredChoice::SaveAsUtf8:
                // Another file than the one named: it may be somebody's already.
                if (tessel::FileSizeOf(utf8Path) && !host_.Ask(EditorHost::Question::Overwrite, 0)) {
                    return false;
                }
                target = utf8Path;
                break;
            }
        }
    }
    const lf::WriteResult written = lf::WriteListFile(target, entries);
    if (!written.ok) {
        host_.Tell(EditorHost::Notice::WriteFailed, target, written.error, 0);
        return false;
    }
    // The status bar names the file that holds the list: it changes only once the
    // list is really there.
    sbar_.Set(target);
    MarkUnchanged();
    return true;
}

void ListEditor::ReportLeftOut(std::size_t leftOut) {
    if (leftOut > 0) host_.Tell(EditorHost::Notice::LeftOut, L"", L"", leftOut);
}

bool ListEditor::Modified() const {
    const std::vector<EntryList::Entry>& entries = mainList_.Entries();
    if (entries.size() != unchangedTexts_.size()) return true;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].text != unchangedTexts_[i]) return true;
    }
    return false;
}

void ListEditor::MarkUnchanged() { unchangedTexts_ = mainList_.Texts(); }

bool ListEditor::ConfirmDiscard() {
    if (!Modified()) return true;
    switch (host_.AskSaveChanges()) {
    case EditorHost::SaveChoice::Save: return SaveList();
    case EditorHost::SaveChoice::Discard: return true;
    case EditorHost::SaveChoice::Cancel: break;
    }
    return false;
}

void ListEditor::CreateNewFile() {
    if (!ConfirmDiscard()) return;
    mainList_.Clear();
    sbar_.Set(L"");
    MarkUnchanged();
}

void ListEditor::EditExistFile() {
    if (!ConfirmDiscard()) return;
    const std::optional<std::wstring> path = host_.ShowOpenDialog();
    if (!path || path->empty()) return;
    std::optional<std::vector<std::wstring>> entries = ReadChosenFile(*path);
    if (!entries) return;
    const std::size_t leftOut = mainList_.Assign(std::move(*entries));
    // A list cut short is not the file's content: 上書き保存 would shorten the file, so
    // such a list belongs to no file until the user names one.
    sbar_.Set(leftOut > 0 ? std::wstring() : *path);
    MarkUnchanged();
    ReportLeftOut(leftOut);
}

void ListEditor::AddingList() {
    const std::optional<std::wstring> path = host_.ShowOpenDialog();
    if (!path || path->empty()) return;
    std::optional<std::vector<std::wstring>> entries = ReadChosenFile(*path);
    if (!entries) return;
    ReportLeftOut(mainList_.Append(std::move(*entries)));
}

void ListEditor::OverwriteFile() { SaveList(); }

void ListEditor::NameFileSave() { SaveListAs(); }

bool ListEditor::SaveList() {
    if (sbar_.Get().empty()) return SaveListAs();
    return WriteList(sbar_.Get());
}

bool ListEditor::SaveListAs() {
    const std::optional<std::wstring> path = host_.ShowSaveDialog();
    if (!path || path->empty()) return false;
    if (tessel::FileSizeOf(*path) && !host_.Ask(EditorHost::Question::Overwrite, 0)) return false;
    return WriteList(*path);
}

void ListEditor::ExpFiles() {
    if (mainList_.SelCount() == 0) return;
    const std::size_t n = mainList_.Count();
    std::size_t leftOut = 0;
    for (std::size_t i = 0; i < n; ++i) {
        // Copied: appending may move the entries' storage.
        const std::wstring path = mainList_.Text(i);
        if (!tessel::FileExistsExact(path)) continue;
        if (!mainList_.Selected(i)) continue;
        std::optional<std::vector<std::wstring>> entries = ReadChosenFile(path);
        if (!entries) continue;
        leftOut += mainList_.Append(std::move(*entries));
    }
    ReportLeftOut(leftOut);
}

void ListEditor::EnumNameSeq() { SortByName(mainList_, sortTrueList_); }

void ListEditor::NoExistsDelete() {
    RemoveMissingFiles(mainList_, [](const std::wstring& path) { return tessel::FileExistsExact(path); });
}

// ---- selection and clipboard ---------------------------------------------------------

void ListEditor::ReportClip(ClipResult result) {
    if (result == ClipResult::ClipboardBusy) {
        host_.Tell(EditorHost::Notice::ClipboardBusy, L"", L"", 0);
    }
}

void ListEditor::CutFromList() {
    ReportClip(CutSelected(mainList_, opeText_, host_.Clipboard()));
}
void ListEditor::CopyFromList() {
    ReportClip(CopySelected(mainList_, opeText_, host_.Clipboard()));
}
void ListEditor::DeleteFromList() { DeleteSelected(mainList_); }
void ListEditor::ClearList() { mainList_.Clear(); }

void ListEditor::PasteToList() {
    const PasteResult r = PasteAtEnd(mainList_, opeText_, host_.Clipboard());
    ReportClip(r.result);
    ReportLeftOut(r.leftOut);
}

void ListEditor::PasteToPoint() {
    const PasteResult r = PasteAtSelection(mainList_, opeText_, host_.Clipboard());
    ReportClip(r.result);
    ReportLeftOut(r.leftOut);
}

void ListEditor::ListAllChoice() { SelectAll(mainList_); }
void ListEditor::ReverseChoiceList() { InvertSelection(mainList_); }
void ListEditor::NoChoiceList() { ClearSelection(mainList_); }
void ListEditor::SelectMatching(const std::wstring& pattern) { SelectByPattern(mainList_, pattern); }

// ---- drops ---------------------------------------------------------------------------

void ListEditor::DropFiles(std::vector<std::wstring> dropped) {
    pendingDrops_.push_back(std::move(dropped));
    // The walk lets messages run once per level, so a second drop can arrive in the
    // middle of it; it waits here instead of reusing the work lists.
    if (walking_) return;
    const tessel::FlagScope busy(walking_);
    while (!pendingDrops_.empty()) {
        std::vector<std::wstring> items = std::move(pendingDrops_.front());
        pendingDrops_.pop_front();
        const WalkResult walk = CollectDroppedFiles(items, filesList_, opeListPrim_, opeListSec_,
                                                    host_.Folders(), [this] { return host_.LetMessagesRun(); });
        if (walk.aborted) {
            pendingDrops_.clear();
            filesList_.clear();
            return;
        }
        std::vector<std::wstring> kept = FilterByPatterns(filesList_, extList_.Items());
        filesList_.clear();
        ReportLeftOut(mainList_.Append(std::move(kept)));
    }
}

}  // namespace listwright
