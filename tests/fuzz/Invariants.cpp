#include "Invariants.h"

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string_view>

namespace kalvor::fuzz {
namespace {

bool SoundRuns(std::string_view runs)
{
    if (runs.empty())
        return true;
    if (runs.size() < 3 || runs.size() % 2 == 0)
        return false;
    int sum = 0;
    for (std::size_t i = 1; i + 1 < runs.size(); i += 2) {
        const int len = static_cast<std::uint8_t>(runs[i + 1]);
        if ((len == 0) != (i + 2 == runs.size()))
            return false;
        sum += len;
    }
    return sum == static_cast<std::uint8_t>(runs[0]);
}

void ExpectSoundRow(const DisplayRow& row)
{
    Expect(row.Text.size() <= 255, "row text longer than 255 columns");
    for (const std::string* runs : {&row.Cntl, &row.Shift, &row.Form})
        Expect(SoundRuns(*runs), "malformed run string");
}

} // namespace

void ExpectSoundDisplayMemory(const DisplayMemory& mem, bool allRows)
{
    Expect(mem.ColsInTerm >= 1 && mem.ColsInTerm <= DisplayMemory::kMaxCols, "ColsInTerm out of range");
    Expect(mem.RowsInTerm >= 1 && mem.RowsInTerm <= DisplayMemory::kMaxScreenRows, "RowsInTerm out of range");
    Expect(mem.CurCol >= 0 && mem.CurCol < mem.ColsInTerm, "CurCol outside the screen");
    Expect(mem.CurRow >= 0 && mem.CurRow < mem.RowsInTerm, "CurRow outside the screen");
    for (const int index : {mem.FirstRow, mem.LastRow, mem.TopRow, mem.AbsCurRow})
        Expect(index >= 0 && index <= mem.MaxRow, "a ring position outside 0..MaxRow");
    Expect(!mem.IsWrapped() || mem.Wrap(mem.LastRow + 1) == mem.FirstRow, "wrapped ring with a gap");
    Expect(mem.InUse(mem.TopRow) && mem.InUse(mem.AbsCurRow), "TopRow or AbsCurRow outside the rows in use");
    const int rows = allRows ? mem.MaxRow + 1 : mem.UsedRows();
    for (int i = 0; i < rows; ++i)
        ExpectSoundRow(mem.Row(allRows ? i : mem.Wrap(mem.FirstRow + i)));
}

void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    __builtin_trap();
}

} // namespace kalvor::fuzz
