#include "keyboard/TerminalStatus.h"

#include "engine/CursorSensing.h"

#include <algorithm>
#include <cstdlib>

namespace kalvor {
namespace {

constexpr char kEsc = 27;

char Digit(int bits) { return static_cast<char>('0' + bits); }

void PutThreeDigits(std::string& out, int n)
{
    n = std::abs(n) % 1000;
    out.push_back(Digit(n / 100));
    out.push_back(Digit(n / 10 % 10));
    out.push_back(Digit(n % 10));
}

// Memory lock is on and one of the locked rows (screen rows 0 ..
// LastLockedRow) holds text.
bool LockedRowsHoldText(const TerminalState& st)
{
    const DisplayMemory& m = st.Mem;
    for (int screenRow = 0; screenRow <= st.MemLock.LastLockedRow && screenRow < m.RowsInTerm; ++screenRow) {
        const int ring = m.ScreenRowToRing(screenRow);
        if (ring < 0)
            break;
        const std::string& text = m.Row(ring).Text;
        if (text.find_first_not_of(' ') != std::string::npos)
            return true;
    }
    return false;
}

// The printer variant of status 6: device 4 or 6.
std::string PrinterStatus(int device, const TerminalState& st, const StatusEnvironment& env)
{
    const bool failed = env.PrinterState == 'F';
    const bool stateByte = env.PrinterState == 'S' || failed;
    std::string s{kEsc, '\\', 'p', device == 4 ? '4' : '6'};
    s.push_back(failed ? '1' : '0');
    s.push_back(Digit((stateByte ? 8 : 0) + (st.StatusFlag ? 1 : 0)));
    s.push_back(device == 4 ? '1' : '0');
    return s;
}

std::string PaddedLabelLine(std::string_view line)
{
    std::string s(line.substr(0, 8));
    s.resize(8, ' ');
    return s;
}

} // namespace

std::string PrimaryStatusBytes(const TerminalState& st)
{
    const Straps& strap = st.Strap;
    std::string s;
    s.push_back('?');
    s.push_back(
        Digit((strap.PageStrapping() ? 8 : 0) + (st.MarginWrap ? 4 : 0) + (strap.B ? 2 : 0) + (strap.A ? 1 : 0)));
    s.push_back(Digit((strap.H ? 8 : 0) + (strap.G ? 4 : 0)));
    s.push_back(Digit(8 + (st.AutoLineFeed ? 4 : 0) + (st.BlockMode() ? 2 : 0) + (st.CapsLock ? 1 : 0)));
    s.push_back('0');
    s.push_back('0');
    s.push_back(st.StatusFlag ? '2' : '0');
    return s;
}

std::string SecondaryStatusBytes(const TerminalState& st, const StatusEnvironment& env)
{
    const MemoryLockState& lock = st.MemLock;
    int memoryLock = 0;
    if (lock.On) {
        memoryLock += 2;
        if (lock.LastLockedRow >= 0)
            memoryLock += 1;
        if (LockedRowsHoldText(st))
            memoryLock += 4;
    }
    std::string s = "050";
    s.push_back(st.EscapeLogging ? '1' : '0'); // strap N
    s.push_back('0');
    s.push_back(env.SerialParity ? '8' : '0');
    s.push_back(Digit(memoryLock));
    return s;
}

std::string BuildTerminalStatus(int StatusID, int StatusIDdevice, const TerminalState& st, const StatusEnvironment& env)
{
    std::string s;
    switch (StatusID) {
    case -1: s = kTerminalId; break;
    case 0: s = std::string{kEsc, '\\'} + PrimaryStatusBytes(st); break;
    case 1: s = std::string{kEsc, '|'} + SecondaryStatusBytes(st, env); break;
    case 2: s = "0!#C"; break;
    case 3: s = " A"; break;
    // Built like its neighbours from two blanks and the final character 64
    // plus their count, of which only the final character is sent.
    case 4: s = "B"; break;
    case 5: s = "\" B"; break;
    case 6: s = PrinterStatus(StatusIDdevice, st, env); break;
    case 7: s = "cDHND"; break;
    case 8: s = kVersionString; break;
    default: break;
    }
    s.push_back(ReplyTerminator(st));
    return s;
}

std::string BuildObjAddr(int AddressRow, int AddressCol)
{
    std::string s{kEsc, '%', 'a'};
    PutThreeDigits(s, AddressRow);
    s.push_back('r');
    PutThreeDigits(s, AddressCol);
    s.push_back('C');
    return s;
}

std::string UserKeyDefinitionText(int key, const UserKeyDefinition& def)
{
    std::string s{kEsc, '&', 'f'};
    s += std::to_string(key);
    s.push_back('k');
    s += std::to_string(std::clamp(def.Attribute, 0, 2));
    s += "a16d";
    PutThreeDigits(s, static_cast<int>(def.Text.size()));
    s.push_back('L');
    s += PaddedLabelLine(def.Line1);
    s += PaddedLabelLine(def.Line2);
    s += def.Text;
    return s;
}

std::string BuildUserKeyLine(int& counter, const UserKeyTable& keys, const TerminalState& st, std::string_view blockEnd)
{
    if (counter >= 16 || counter < 0) {
        std::string s(blockEnd);
        s.push_back(ReplyTerminator(st));
        return s;
    }
    const int index = counter / 2;
    counter = (index + 1) * 2;
    std::string s = UserKeyDefinitionText(index + 1, keys[static_cast<std::size_t>(index)]);
    s.push_back('\r');
    return s;
}

std::string BuildUserKeyPage(const UserKeyTable& keys, const TerminalState& st, std::string_view blockEnd)
{
    const bool blockPage = st.BlockMode() && st.Strap.PageStrapping();
    std::string s;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        s += UserKeyDefinitionText(static_cast<int>(i) + 1, keys[i]);
        s += blockPage ? "\r\n" : "\r";
    }
    s.append(blockEnd);
    return s;
}

} // namespace kalvor
