// Puts a skin on the two windows: define.ini, the label colour, the skin window's
// size, both shapes, the placement, then the two pictures.
#pragma once

#include <optional>
#include <string>

#include "common/twips.h"
#include "player/shared/llvariable.h"

namespace tessel::player {

class PlayerForm;
class SkinForm;

class SkinApplier {
public:
    SkinApplier(LLVariable& vars, const TwipsPerPixel& factors, SkinForm& skin, PlayerForm& body)
        : vars_(vars), factors_(factors), skin_(skin), body_(body) {}

    // The skin named by the variables' six paths. Returns the report of the first
    // failure; nothing is shown here (at start-up the report ends the program, a skin
    // chosen while running must not).
    std::optional<std::wstring> Apply();
    // Why the skin `name` under the program folder cannot be used, or nothing when it
    // can. The one judgement of a skin, for the start-up's choice and a change alike:
    // every reason to refuse a skin belongs here.
    static std::optional<std::wstring> SkinProblem(const std::wstring& programFolder, const std::wstring& name);
    // The body window against the skin window at the skin's offsets (k screen pixels
    // each at scale k), both topmost; the report of a failure.
    std::optional<std::wstring> Place();

    // The whole-number scale the skin is drawn at (skin_scale.h): every skin pixel is
    // scale x scale screen pixels. The factors given are the skinned windows' twips
    // per pixel at it.
    int Scale() const { return scale_; }
    void SetScale(int scale) { scale_ = scale; }
    // Whether a skin is on the windows (a new scale then needs it again).
    bool Applied() const { return applied_; }

private:
    LLVariable& vars_;
    const TwipsPerPixel& factors_;
    SkinForm& skin_;
    PlayerForm& body_;
    int scale_ = 1;
    bool applied_ = false;
};

}  // namespace tessel::player
