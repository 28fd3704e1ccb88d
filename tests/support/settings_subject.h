// The controls and variables the settings file fills, at their start-up values, as
// the program holds them (the display sizes listed), with the skin window's position
// in twips.
#pragma once

#include <string>
#include <vector>

#include "player/startup/settings.h"
#include "player/shared/texts.h"

namespace tessel::test {

struct SettingsHolder {
    player::MenuFormControls menu;
    player::LLVariable vars;
    double leftTwips = 0, topTwips = 0;

    SettingsHolder() {
        for (const wchar_t* entry : player::texts::kDisplaySizes) menu.CmbDispSize.AddItem(entry);
    }
    player::SettingsSubject Get() {
        return player::SettingsSubject{vars.SkinName,
                                       [this] { return leftTwips; },
                                       [this] { return topTwips; },
                                       [this](double v) { leftTwips = v; },
                                       [this](double v) { topTwips = v; },
                                       menu,
                                       vars.VideoWindowRect};
    }
    // The reader's verdict on these lines: empty when it takes every one of them.
    std::wstring Objection(const std::vector<std::wstring>& lines, TwipsPerPixel factors = {15.0, 15.0}) {
        if (auto error = player::ApplySettingsLines(lines, Get(), factors))
            return L"line " + std::to_wstring(error->line) + L": " + error->expected;
        return L"";
    }
};

}  // namespace tessel::test
