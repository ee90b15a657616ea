#include "Invariants.h"

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>

namespace kalvor::fuzz {

const char* RunStringProblem(std::string_view runs)
{
    if (runs.empty())
        return nullptr;
    if (runs.size() < 3)
        return "run string shorter than three characters";
    if (runs.size() % 2 == 0)
        return "run string of even length";
    int sum = 0;
    for (std::size_t i = 1; i + 1 < runs.size(); i += 2) {
        const int len = static_cast<std::uint8_t>(runs[i + 1]);
        const bool last = i + 2 == runs.size();
        if (last && len != 0)
            return "last run not open-ended (length is not 0)";
        if (!last && len == 0)
            return "run of length 0 before the last run";
        sum += len;
    }
    if (sum != static_cast<std::uint8_t>(runs[0]))
        return "run string header differs from the sum of the run lengths";
    return nullptr;
}

namespace {

bool InRing(const DisplayMemory& mem, int index) { return index >= 0 && index <= mem.MaxRow; }

const char* RowProblem(const DisplayRow& row)
{
    if (row.Text.size() > 255)
        return "row text longer than 255 columns";
    for (const std::string* runs : {&row.Cntl, &row.Shift, &row.Form})
        if (const char* p = RunStringProblem(*runs))
            return p;
    return nullptr;
}

} // namespace

const char* DisplayMemoryProblem(const DisplayMemory& mem, bool allRows, int& where)
{
    where = -1;
    if (mem.ColsInTerm < 1 || mem.ColsInTerm > DisplayMemory::kMaxCols)
        return "ColsInTerm out of range";
    if (mem.RowsInTerm < 1 || mem.RowsInTerm > DisplayMemory::kMaxScreenRows)
        return "RowsInTerm out of range";
    if (mem.CurCol < 0 || mem.CurCol >= mem.ColsInTerm)
        return "CurCol outside 0..ColsInTerm-1";
    if (mem.CurRow < 0 || mem.CurRow >= mem.RowsInTerm)
        return "CurRow outside 0..RowsInTerm-1";
    if (!InRing(mem, mem.FirstRow))
        return "FirstRow outside 0..MaxRow";
    if (!InRing(mem, mem.LastRow))
        return "LastRow outside 0..MaxRow";
    if (!InRing(mem, mem.TopRow))
        return "TopRow outside 0..MaxRow";
    if (!InRing(mem, mem.AbsCurRow))
        return "AbsCurRow outside 0..MaxRow";
    if (mem.IsWrapped() && mem.Wrap(mem.LastRow + 1) != mem.FirstRow)
        return "wrapped ring without FirstRow == LastRow + 1";
    if (!mem.InUse(mem.TopRow))
        return "TopRow outside the rows in use";
    if (!mem.InUse(mem.AbsCurRow))
        return "AbsCurRow outside the rows in use";
    if (allRows) {
        for (int r = 0; r <= mem.MaxRow; ++r) {
            if (const char* p = RowProblem(mem.Row(r))) {
                where = r;
                return p;
            }
        }
        return nullptr;
    }
    const int used = mem.UsedRows();
    for (int age = 0; age < used; ++age) {
        const int r = mem.Wrap(mem.FirstRow + age);
        if (const char* p = RowProblem(mem.Row(r))) {
            where = r;
            return p;
        }
    }
    return nullptr;
}

void ExpectSoundDisplayMemory(const DisplayMemory& mem, bool allRows)
{
    int where = -1;
    const char* problem = DisplayMemoryProblem(mem, allRows, where);
    if (problem == nullptr)
        return;
    char buf[256];
    std::snprintf(buf, sizeof buf,
                  "display memory: %s; CurRow=%d CurCol=%d RowsInTerm=%d ColsInTerm=%d FirstRow=%d LastRow=%d "
                  "TopRow=%d AbsCurRow=%d MaxRow=%d",
                  problem, mem.CurRow, mem.CurCol, mem.RowsInTerm, mem.ColsInTerm, mem.FirstRow, mem.LastRow,
                  mem.TopRow, mem.AbsCurRow, mem.MaxRow);
    std::string out = buf;
    if (where >= 0) {
        const DisplayRow& row = mem.Row(where);
        out += "; ring row " + std::to_string(where) + ", text length " + std::to_string(row.Text.size());
        for (const std::string* runs : {&row.Cntl, &row.Shift, &row.Form}) {
            out += ", runs";
            for (const char c : *runs)
                out += " " + std::to_string(static_cast<std::uint8_t>(c));
        }
    }
    Fail(out.c_str());
}

void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    __builtin_trap();
}

} // namespace kalvor::fuzz
