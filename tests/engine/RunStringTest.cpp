#include "engine/RunString.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace kalvor {
namespace {

using test::Runs;
using test::Show;

struct MarkCase {
    const char* name;
    std::string before;
    char attr;
    int col;
    char none; // the attribute whose three-character string counts as empty
    std::string after;
};

TEST(RunStringMarkFrom, RecordsAttributesFromAColumn)
{
    const MarkCase cases[] = {
        {"empty at column 0", "", 'B', 0, '@', Runs({0, 'B', 0})},
        {"three characters kept and split", Runs({0, '[', 0}), ']', 10, runstring::kNeverBlank,
         Runs({10, '[', 10, ']', 0})},
        {"split equal to the next run merges with it", Runs({20, ' ', 10, 'B', 10, 'D', 0}), 'B', 5, '@',
         Runs({20, ' ', 5, 'B', 15, 'D', 0})},
        {"replacing a whole run merges three runs", Runs({20, 'B', 5, ' ', 5, 'B', 10, 'D', 0}), 'B', 5, '@',
         Runs({20, 'B', 20, 'D', 0})},
        {"open run equal to the run before merges", Runs({10, ' ', 10, 'B', 0}), ' ', 10, '@', Runs({0, ' ', 0})},
        {"column clamped to 255", "", 'B', 300, '@', Runs({255, ' ', 255, 'B', 0})},
        {"negative column taken as 0", Runs({10, ' ', 10, 'B', 0}), 'D', -4, '@', Runs({10, 'D', 10, 'B', 0})},
    };
    for (const MarkCase& c : cases) {
        std::string s = c.before;
        runstring::MarkFrom(s, c.attr, c.col, c.none);
        EXPECT_EQ(Show(s), Show(c.after)) << c.name;
    }
}

struct EditCase {
    const char* name;
    std::string before;
    int col;
    int count;
    std::string after;
};

TEST(RunStringRemoveColumns, ShrinksTheRunsCoveringTheColumns)
{
    const std::string base = Runs({20, ' ', 5, 'B', 10, ' ', 5, 'D', 0});
    const EditCase cases[] = {
        {"inside a run", base, 7, 1, Runs({19, ' ', 5, 'B', 9, ' ', 5, 'D', 0})},
        {"across two runs", base, 3, 4, Runs({16, ' ', 3, 'B', 8, ' ', 5, 'D', 0})},
        {"whole run removed, neighbours merge", base, 5, 10, Runs({10, ' ', 10, 'D', 0})},
        {"count clamped at the header", base, 17, 50, Runs({17, ' ', 5, 'B', 10, ' ', 2, 'D', 0})},
        {"at the header nothing changes", base, 20, 1, base},
        {"zero count", base, 3, 0, base},
    };
    for (const EditCase& c : cases)
        EXPECT_EQ(Show(runstring::RemoveColumns(c.before, c.col, c.count)), Show(c.after)) << c.name;
}

TEST(RunStringInsertColumns, TakesTheAttributeOfThePushedColumn)
{
    const std::string base = Runs({20, ' ', 5, 'B', 10, ' ', 5, 'D', 0});
    const EditCase cases[] = {
        {"inside a run", base, 7, 2, Runs({22, ' ', 5, 'B', 12, ' ', 5, 'D', 0})},
        {"at column 0", base, 0, 3, Runs({23, ' ', 8, 'B', 10, ' ', 5, 'D', 0})},
        {"at the header nothing changes", base, 20, 1, base},
        {"empty string", "", 0, 4, ""},
        {"header limited to 255", Runs({250, 'B', 250, ' ', 0}), 10, 20, Runs({255, 'B', 255, ' ', 0})},
    };
    for (const EditCase& c : cases)
        EXPECT_EQ(Show(runstring::InsertColumns(c.before, c.col, c.count)), Show(c.after)) << c.name;
}

TEST(RunStringClearFrom, KeepsTheStartsBeforeTheColumn)
{
    const std::string twice = Runs({10, 'B', 3, 'B', 7, 'D', 0});
    const struct {
        const char* name;
        std::string before;
        int col;
        Neighbours mode;
        std::string after;
    } cases[] = {
        {"equal runs merge", twice, 5, Neighbours::Merge, Runs({5, 'B', 5, ' ', 0})},
        {"equal runs keep their starts", twice, 5, Neighbours::KeepStarts, Runs({5, 'B', 3, 'B', 2, ' ', 0})},
        {"a start at the column goes", twice, 3, Neighbours::KeepStarts, Runs({3, 'B', 3, ' ', 0})},
        {"beyond the header", twice, 12, Neighbours::KeepStarts, Runs({12, 'B', 3, 'B', 7, 'D', 2, ' ', 0})},
        {"nothing left", Runs({4, ' ', 4, 'B', 0}), 4, Neighbours::KeepStarts, ""},
    };
    for (const auto& c : cases) {
        std::string s = c.before;
        runstring::ClearFrom(s, c.col, c.mode);
        EXPECT_EQ(Show(s), Show(c.after)) << c.name;
    }
}

TEST(RunStringAttributeAt, ReadsTheRunCoveringAColumn)
{
    const std::string s = Runs({15, ' ', 5, 'B', 10, 'D', 0});
    const struct {
        int col;
        char expected;
    } cases[] = {{0, ' '}, {4, ' '}, {5, 'B'}, {14, 'B'}, {15, 'D'}, {199, 'D'}};
    for (const auto& c : cases)
        EXPECT_EQ(runstring::AttributeAt(s, c.col), c.expected) << "column " << c.col;

    EXPECT_EQ(runstring::AttributeAt("", 3, '?'), '?');
    // Not closed by an open-ended run: columns past the runs read as none.
    EXPECT_EQ(runstring::AttributeAt(Runs({5, 'B', 5}), 7, '?'), '?');
}

// Expanding and encoding again gives the canonical string: equal
// neighbours merged, an unterminated string closed by a blank open run.
TEST(ExpandedRuns, EncodingGivesTheCanonicalString)
{
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {Runs({20, ' ', 5, 'H', 5, 'B', 10, 'D', 0}), Runs({20, ' ', 5, 'H', 5, 'B', 10, 'D', 0})},
        {Runs({10, 'B', 4, 'B', 6, ' ', 0}), Runs({10, 'B', 10, ' ', 0})},
        {Runs({10, ' ', 4, 'B', 6, 'B', 0}), Runs({4, ' ', 4, 'B', 0})},
        {Runs({5, 'B', 5, 'B', 0}), Runs({0, 'B', 0})},
        {Runs({5, 'A', 5}), Runs({5, 'A', 5, ' ', 0})},
        {"", Runs({0, ' ', 0})},
    };
    for (const auto& c : cases) {
        std::string out;
        ExpandedRuns::Expand(c.in).EncodeTo(out);
        EXPECT_EQ(Show(out), Show(c.out)) << Show(c.in);
    }
}

} // namespace
} // namespace kalvor
