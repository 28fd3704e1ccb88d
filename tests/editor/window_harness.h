// A real Form1 created in this process over a program folder of its own, with the
// modal boxes its commands open answered from another thread.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/ui/Form1.h"
#include "editor/ui/metrics.h"
#include "tests/support/box_answerer.h"
#include "tests/support/unexpected_boxes.h"
#include "tests/support/temp_dir.h"
#include "tests/support/win32.h"

namespace listwright::testing {

using namespace tessel::test;
using Texts = std::vector<std::wstring>;

struct EditorWindow : ::testing::Test {
    TempDir dir{"editor"};
    std::unique_ptr<Form1> form;
    BoxAnswerer boxes;

    virtual std::string ExtIni() const { return "*.mp3\r\n*.wav\r\n"; }

    void SetUp() override {
        dir.Write("m3usetting/ext.ini", ExtIni());
        Create();
    }
    void Create(int showCommand = SW_SHOWNOACTIVATE) {
        form = std::make_unique<Form1>(Form1::Options{dir.path(), false});
        ASSERT_TRUE(form->Create(showCommand));
        Pump();
    }
    void TearDown() override {
        if (form && form->Handle()) {
            // A list a test changed is given up.
            if (form->Editor().Modified()) boxes.Expect(L"確認", IDNO);
            SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
            Pump();
        }
        form.reset();
        ExpectNoUnexpectedBoxes(boxes);
    }

    HWND Handle() const { return form->Handle(); }
    HWND List() const { return form->MainList(); }
    EntryList& Entries() { return form->Editor().MainList(); }
    void Command(UINT id) { SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    std::string ExtIniBytes() const { return TempDir::ReadBytes(dir / "m3usetting" / "ext.ini"); }

    Texts ListBoxTexts() const { return ListBoxItems(List()); }
    std::vector<bool> ListBoxSelection() const {
        std::vector<bool> flags;
        const LRESULT n = SendMessageW(List(), LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) flags.push_back(SendMessageW(List(), LB_GETSEL, static_cast<WPARAM>(i), 0) > 0);
        return flags;
    }
    // Selects as the user would: in the list box itself.
    void UserSelect(const std::vector<int>& positions) {
        SendMessageW(List(), LB_SETSEL, FALSE, -1);
        for (int p : positions) SendMessageW(List(), LB_SETSEL, TRUE, p);
    }
    std::wstring StatusText() const {
        // The simple-mode text reads back as part 0.
        wchar_t text[1024] = {};
        SendMessageW(form->SBar(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
        return text;
    }
};

}  // namespace listwright::testing
