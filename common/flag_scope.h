// A flag that is set for as long as a scope runs and cleared however it ends: the
// answer to "is this already under way?" for work that lets messages run meanwhile.
#pragma once

namespace tessel {

class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

}  // namespace tessel
