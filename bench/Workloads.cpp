#include "Workloads.h"

#include <memory>

namespace kalvor::bench {
namespace {

constexpr char kEsc = '\x1b';
constexpr const char* kCrLf = "\r\n";
constexpr char kSo = '\x0e';
constexpr char kSi = '\x0f';

// splitmix64: small, fast and the same everywhere.
std::uint64_t Next(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// A number in lo..hi inclusive.
int Between(std::uint64_t& state, int lo, int hi)
{
    return lo + static_cast<int>(Next(state) % static_cast<std::uint64_t>(hi - lo + 1));
}

char Printable(std::uint64_t& state) { return static_cast<char>(Between(state, 32, 126)); }

char Letter(std::uint64_t& state) { return static_cast<char>(Between(state, 'a', 'z')); }

void AppendNumber(std::string& out, int n) { out += std::to_string(n); }

void CursorTo(std::string& out, int col, int row, Dialect d)
{
    out += kEsc;
    if (d == Dialect::Vt) {
        out += '[';
        AppendNumber(out, row + 1);
        out += ';';
        AppendNumber(out, col + 1);
        out += 'H';
        return;
    }
    out += "&a";
    AppendNumber(out, col);
    out += 'c';
    AppendNumber(out, row);
    out += 'Y';
}

void EraseToEndOfLine(std::string& out, Dialect d)
{
    out += kEsc;
    if (d == Dialect::Vt)
        out += '[';
    out += 'K';
}

// An enhancement letter: @ plus 1 blink, 2 inverse, 4 underline, 8
// half-bright; in the VT twin the SGR of the same attributes.
void Enhancement(std::string& out, char code, Dialect d)
{
    out += kEsc;
    if (d == Dialect::Hp) {
        out += "&d";
        out += code;
        return;
    }
    const int bits = code - '@';
    out += "[0";
    if (bits & 1)
        out += ";5";
    if (bits & 2)
        out += ";7";
    if (bits & 4)
        out += ";4";
    if (bits & 8)
        out += ";2";
    out += 'm';
}

// A line-drawing piece: the HP set's letter, or the DEC special graphics
// character of the same shape.
char Piece(char hp, Dialect d)
{
    if (d == Dialect::Hp)
        return hp;
    switch (hp) {
    case 'r': return 'l'; // top left corner
    case 't': return 'k'; // top right corner
    case 'f': return 'm'; // bottom left corner
    case 'g': return 'j'; // bottom right corner
    case ',': return 'q'; // horizontal
    default: return 'x';  // vertical
    }
}

void PlainLine(std::uint64_t& s, std::string& out)
{
    const int n = Between(s, 20, 79);
    for (int i = 0; i < n; ++i)
        out += Printable(s);
    out += kCrLf;
}

// One 80 x 24 screen: every row addressed at column 0, written in one to
// three fields (each addressed), the rest of the row erased.
void Screen(std::uint64_t& s, std::string& out, Dialect d)
{
    for (int row = 0; row < 24; ++row) {
        const int fields = Between(s, 1, 3);
        int col = 0;
        for (int f = 0; f < fields && col < 79; ++f) {
            CursorTo(out, col, row, d);
            const int room = 80 - col;
            const int len = f + 1 == fields ? Between(s, room / 2, room) : Between(s, 1, room / 2);
            for (int i = 0; i < len; ++i)
                out += Printable(s);
            col += len + Between(s, 0, 3);
        }
        EraseToEndOfLine(out, d);
    }
}

// A line of words; every two to four words the enhancement changes.
void EnhancedLine(std::uint64_t& s, std::string& out, Dialect d)
{
    static constexpr char kCodes[] = {'B', 'D', 'H', '@', 'A', 'J', 'L', '@', 'F', 'I'};
    const int width = Between(s, 40, 78);
    int col = 0;
    int untilSwitch = Between(s, 2, 4);
    while (true) {
        const int len = Between(s, 2, 9);
        if (col + len + 1 > width)
            break;
        if (--untilSwitch == 0) {
            Enhancement(out, kCodes[Between(s, 0, sizeof kCodes - 1)], d);
            untilSwitch = Between(s, 2, 4);
        }
        for (int i = 0; i < len; ++i)
            out += Letter(s);
        out += ' ';
        col += len + 1;
    }
    Enhancement(out, '@', d);
    out += kCrLf;
}

// A box of line-drawing characters with text beside and inside it.
void Box(std::uint64_t& s, std::string& out, Dialect d)
{
    const int indent = Between(s, 0, 10);
    const int inner = Between(s, 8, 60);
    const int height = Between(s, 1, 4);
    auto edge = [&](char left, char right) {
        out.append(static_cast<std::size_t>(indent), ' ');
        out += kSo;
        out += Piece(left, d);
        out.append(static_cast<std::size_t>(inner), Piece(',', d));
        out += Piece(right, d);
        out += kSi;
        out += kCrLf;
    };
    edge('r', 't');
    for (int h = 0; h < height; ++h) {
        out.append(static_cast<std::size_t>(indent), ' ');
        out += kSo;
        out += Piece('.', d);
        out += kSi;
        const int text = Between(s, 0, inner);
        for (int i = 0; i < text; ++i)
            out += Printable(s);
        out.append(static_cast<std::size_t>(inner - text), ' ');
        out += kSo;
        out += Piece('.', d);
        out += kSi;
        out += kCrLf;
    }
    edge('f', 'g');
}

} // namespace

const std::array<WorkloadInfo, 4>& Workloads()
{
    static const std::array<WorkloadInfo, 4> kAll = {{
        {Workload::Plain, "plain", "plain.txt", 400.0},
        {Workload::Screens, "screens", "screens.txt", 150.0},
        {Workload::Enhancements, "enhancements", "enhancements.txt", 150.0},
        {Workload::LineDrawing, "linedrawing", "linedrawing.txt", 150.0},
    }};
    return kAll;
}

void AppendWorkload(Workload kind, std::uint64_t& state, std::size_t bytes, std::string& out, Dialect d)
{
    const std::size_t goal = out.size() + bytes;
    if (kind == Workload::LineDrawing && state == 0) {
        out += kEsc;
        out += d == Dialect::Vt ? ")0" : ")B";
    }
    if (state == 0)
        state = 0x4b616c766f72ULL + static_cast<std::uint64_t>(kind); // any fixed start
    while (out.size() < goal) {
        switch (kind) {
        case Workload::Plain: PlainLine(state, out); break;
        case Workload::Screens: Screen(state, out, d); break;
        case Workload::Enhancements: EnhancedLine(state, out, d); break;
        case Workload::LineDrawing: Box(state, out, d); break;
        }
    }
}

std::uint64_t WriteWorkloadFile(Workload kind, std::uint64_t bytes, const std::string& path, std::string& error,
                                Dialect dialect)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) {
        error = "cannot write " + path;
        return 0;
    }
    constexpr std::size_t kBlock = 1 << 20;
    std::uint64_t state = 0;
    std::uint64_t written = 0;
    std::string buf;
    buf.reserve(kBlock + 4096);
    while (written < bytes) {
        buf.clear();
        const std::uint64_t left = bytes - written;
        AppendWorkload(kind, state, static_cast<std::size_t>(left < kBlock ? left : kBlock), buf, dialect);
        if (std::fwrite(buf.data(), 1, buf.size(), f.get()) != buf.size()) {
            error = "write error on " + path;
            return 0;
        }
        written += buf.size();
    }
    if (std::fflush(f.get()) != 0) {
        error = "write error on " + path;
        return 0;
    }
    return written;
}

} // namespace kalvor::bench
