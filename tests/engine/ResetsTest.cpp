// Soft reset and record mode: the reset ends record mode with the copies of
// host text to the print and record files, and ends display functions. What
// each reset keeps and ends of the other switches is checked in
// tests/screen/cases/resets.case.
#include "engine/Resets.h"
#include "engine/Terminal.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace kalvor {
namespace {

TEST(ResetSoftTest, RecordModeEndsWithItsFileOutputs)
{
    struct Row {
        int RecordMode;
        int Routing;
        int RoutingAfter;
    };
    const Row rows[] = {
        {2, 1 | 4, 1},                    // display and record file: the file copy ends
        {1, 2, 1},                        // printer only: back to the display
        {2, 1, 1},     {0, 1 | 2, 1 | 2}, // no record mode: the routing stays
        {0, 4, 4},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.RecordMode) + " " + std::to_string(r.Routing));
        test::RecordingHooks hooks;
        Terminal term{hooks};
        term.State.RecordMode = r.RecordMode;
        term.State.OutputRouting = r.Routing;
        term.State.DisplayFunctions = true;
        ResetSoft(term);
        EXPECT_EQ(term.State.RecordMode, 0);
        EXPECT_EQ(term.State.OutputRouting, r.RoutingAfter);
        EXPECT_FALSE(term.State.DisplayFunctions);
    }
}

} // namespace
} // namespace kalvor
