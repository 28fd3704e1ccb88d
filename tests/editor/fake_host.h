// An EditorHost that records what the commands ask and tell, with answers set by the
// test, and a clipboard in memory that can be made busy or hold no text.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/core/listeditor.h"

namespace listwright::testing {

class FakeClipboard final : public ClipboardPort {
public:
    std::optional<std::wstring> text;  // nothing: the clipboard holds no text
    bool busy = false;

    Status SetText(const std::wstring& t) override {
        if (busy) return Status::Busy;
        text = t;
        return Status::Ok;
    }
    Status GetText(std::wstring& out) override {
        if (busy) return Status::Busy;
        if (!text) return Status::NoText;
        out = *text;
        return Status::Ok;
    }
};

class FakeHost final : public EditorHost {
public:
    struct Told {
        Notice notice;
        std::wstring subject;
        std::size_t count;
    };
    std::deque<std::optional<std::wstring>> openAnswers;  // popped per open dialog
    std::deque<std::optional<std::wstring>> saveAnswers;
    int saveDialogs = 0;
    std::vector<Question> asked;
    std::vector<std::size_t> askedCounts;
    bool answer = true;
    std::deque<SaveChoice> saveChoices;  // popped per question; none left: Cancel
    AlteredChoice alteredChoice = AlteredChoice::Cancel;
    std::vector<std::wstring> utf8Offers;  // the ".m3u8" name each offer named
    int saveQuestions = 0;
    std::vector<Told> told;
    FakeClipboard clipboard;
    std::function<bool()> onLetMessagesRun;
    int pumps = 0;

    std::optional<std::wstring> ShowOpenDialog() override {
        return Pop(openAnswers);
    }
    std::optional<std::wstring> ShowSaveDialog() override {
        ++saveDialogs;
        return Pop(saveAnswers);
    }
    bool Ask(Question q, std::size_t count) override {
        asked.push_back(q);
        askedCounts.push_back(count);
        return answer;
    }
    SaveChoice AskSaveChanges() override {
        ++saveQuestions;
        if (saveChoices.empty()) return SaveChoice::Cancel;
        const SaveChoice c = saveChoices.front();
        saveChoices.pop_front();
        return c;
    }
    AlteredChoice AskAlteredOrUtf8(std::size_t count, const std::wstring&, const std::wstring& utf8Path) override {
        askedCounts.push_back(count);
        utf8Offers.push_back(utf8Path);
        return alteredChoice;
    }
    void Tell(Notice n, const std::wstring& subject, const std::wstring&, std::size_t count) override {
        told.push_back(Told{n, subject, count});
    }
    ClipboardPort& Clipboard() override { return clipboard; }
    FolderSource& Folders() override { return SystemFolders(); }
    bool LetMessagesRun() override {
        ++pumps;
        return onLetMessagesRun ? onLetMessagesRun() : true;
    }

private:
    static std::optional<std::wstring> Pop(std::deque<std::optional<std::wstring>>& q) {
        if (q.empty()) return std::nullopt;
        auto v = q.front();
        q.pop_front();
        return v;
    }
};

inline std::vector<bool> Flags(const EntryList& list) {
    std::vector<bool> flags;
    for (const auto& e : list.Entries()) flags.push_back(e.selected);
    return flags;
}

}  // namespace listwright::testing
