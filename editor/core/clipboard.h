// The system clipboard as the editor's routines see it: plain text only.
#pragma once

#include <string>

namespace listwright {

class ClipboardPort {
public:
    enum class Status {
        Ok,      // done (for GetText: text was there)
        NoText,  // the clipboard holds no text
        Busy,    // another program kept the clipboard open; given up after a short wait
    };
    virtual ~ClipboardPort() = default;
    // Empties the clipboard and puts `text` on it.
    virtual Status SetText(const std::wstring& text) = 0;
    virtual Status GetText(std::wstring& text) = 0;
};

}  // namespace listwright
