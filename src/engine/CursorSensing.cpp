#include "engine/CursorSensing.h"

#include <algorithm>

namespace kalvor {
namespace {

void PutThreeDigits(std::string& out, int n)
{
    n = std::abs(n) % 1000;
    out.push_back(static_cast<char>('0' + n / 100));
    out.push_back(static_cast<char>('0' + n / 10 % 10));
    out.push_back(static_cast<char>('0' + n % 10));
}

std::string Address(int col, int row, char rowLetter)
{
    std::string s = "\x1b&a";
    PutThreeDigits(s, col);
    s.push_back('c');
    PutThreeDigits(s, row);
    s.push_back(rowLetter);
    return s;
}

} // namespace

int AbsoluteCursorRow(const DisplayMemory& mem)
{
    // Distance from the oldest row, counted around the ring when it wrapped,
    // limited to the last row of memory.
    return std::min(mem.Age(mem.TopRow), mem.Age(mem.LastRow)) + mem.CurRow;
}

std::string BuildAbsAddr(const TerminalState& st) { return Address(st.Mem.CurCol, AbsoluteCursorRow(st.Mem), 'R'); }

std::string BuildRelAddr(const TerminalState& st) { return Address(st.Mem.CurCol, st.Mem.CurRow, 'Y'); }

char ReplyTerminator(const TerminalState& st) { return st.BlockMode() && st.Strap.PageStrapping() ? '\x1e' : '\r'; }

} // namespace kalvor
