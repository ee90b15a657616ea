#include "Invariants.h"

#include <cstdint>
#include <cstdio>

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
    if (RunStringProblem(row.Cntl) != nullptr)
        return RunStringProblem(row.Cntl);
    if (RunStringProblem(row.Shift) != nullptr)
        return RunStringProblem(row.Shift);
    if (RunStringProblem(row.Form) != nullptr)
        return RunStringProblem(row.Form);
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

std::string DescribeProblem(const DisplayMemory& mem, const char* problem, int where)
{
    char buf[512];
    std::snprintf(buf, sizeof buf,
                  "display memory invariant violated: %s\n"
                  "  CurRow=%d CurCol=%d RowsInTerm=%d ColsInTerm=%d\n"
                  "  FirstRow=%d LastRow=%d TopRow=%d AbsCurRow=%d MaxRow=%d\n",
                  problem, mem.CurRow, mem.CurCol, mem.RowsInTerm, mem.ColsInTerm, mem.FirstRow, mem.LastRow,
                  mem.TopRow, mem.AbsCurRow, mem.MaxRow);
    std::string out = buf;
    if (where >= 0) {
        const DisplayRow& row = mem.Row(where);
        auto hex = [](std::string_view s) {
            std::string h;
            for (char c : s) {
                char b[4];
                std::snprintf(b, sizeof b, "%02x", static_cast<unsigned>(static_cast<std::uint8_t>(c)));
                if (!h.empty())
                    h.push_back(' ');
                h += b;
            }
            return h;
        };
        std::snprintf(buf, sizeof buf, "  ring row %d: text length %zu\n", where, row.Text.size());
        out += buf;
        out += "  Cntl:  " + hex(row.Cntl) + "\n";
        out += "  Shift: " + hex(row.Shift) + "\n";
        out += "  Form:  " + hex(row.Form) + "\n";
    }
    return out;
}

void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    __builtin_trap();
}

} // namespace kalvor::fuzz
