// The tests' check of what a box answerer saw (apart from it, which the benchmarks use
// without GoogleTest).
#pragma once

#include <gtest/gtest.h>

#include "tests/support/box_answerer.h"
#include "tests/support/win32.h"

namespace tessel::test {

// Fails the running test once for every box seen since the last take that no rule
// expected (cancelled by the answerer, so nothing else would tell).
inline void ExpectNoUnexpectedBoxes(BoxAnswerer& boxes) {
    for (const auto& seen : boxes.TakeSeen())
        EXPECT_TRUE(seen.expected) << "unexpected box: " << Printable(seen.title + L": " + seen.text);
}

}  // namespace tessel::test
