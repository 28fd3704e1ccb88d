// A text held by a control (a caption, a status bar's text) that tells its view when
// it changes.
#pragma once

#include <functional>
#include <string>
#include <utility>

namespace listwright {

class TextValue {
public:
    const std::wstring& Get() const { return text_; }
    void Set(std::wstring text) {
        if (text == text_) return;
        text_ = std::move(text);
        if (onChange_) onChange_(text_);
    }
    void OnChange(std::function<void(const std::wstring&)> handler) { onChange_ = std::move(handler); }

private:
    std::wstring text_;
    std::function<void(const std::wstring&)> onChange_;
};

}  // namespace listwright
