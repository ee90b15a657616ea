// Checks of the benchmark workloads: each is deterministic and has the shape
// its benchmark claims, and the headless terminal, fed the plain workload
// (long enough to wrap display memory twice), shows its last lines.
#include "Workloads.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#ifndef KALVOR_SCREEN_PATH
#error "KALVOR_SCREEN_PATH must name the kalvor-screen executable"
#endif

namespace {

using kalvor::bench::Workload;

int g_passed = 0;
int g_failed = 0;

void Expect(bool ok, const std::string& what)
{
    if (ok) {
        ++g_passed;
        return;
    }
    ++g_failed;
    std::printf("FAILED: %s\n", what.c_str());
}

std::string Generate(Workload kind, std::size_t bytes)
{
    std::uint64_t state = 0;
    std::string out;
    kalvor::bench::AppendWorkload(kind, state, bytes, out);
    return out;
}

std::vector<std::string> SplitCrLf(std::string_view s)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < s.size()) {
        const std::size_t end = s.find("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.emplace_back(s.substr(pos));
            break;
        }
        lines.emplace_back(s.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

bool AllPrintable(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126)
            return false;
    return true;
}

void TestDeterministic()
{
    for (const auto& w : kalvor::bench::Workloads()) {
        const std::string a = Generate(w.Kind, 200000);
        const std::string b = Generate(w.Kind, 200000);
        Expect(a == b, std::string(w.Name) + ": two generations differ");
        Expect(a.size() >= 200000, std::string(w.Name) + ": shorter than asked");
        // Generating in pieces gives the same bytes as at once.
        std::uint64_t state = 0;
        std::string pieces;
        while (pieces.size() < 200000)
            kalvor::bench::AppendWorkload(w.Kind, state, 7000, pieces);
        Expect(pieces.compare(0, 150000, a, 0, 150000) == 0, std::string(w.Name) + ": generated in pieces differs");
    }
}

void TestPlain()
{
    const std::string s = Generate(Workload::Plain, 100000);
    Expect(s.size() >= 2 && s.compare(s.size() - 2, 2, "\r\n") == 0, "plain: ends with CR LF");
    bool ok = true;
    for (const std::string& line : SplitCrLf(s))
        ok = ok && line.size() >= 20 && line.size() <= 79 && AllPrintable(line);
    Expect(ok, "plain: every line is 20..79 printable characters");
}

// Every row of every screen: ESC & a <col>c <row>Y, text inside 80 columns,
// ESC K after the row's last field; 24 rows a screen.
void TestScreens()
{
    const std::string s = Generate(Workload::Screens, 100000);
    std::size_t pos = 0;
    int expectRow = 0;
    int erases = 0;
    bool ok = true;
    while (ok && pos < s.size()) {
        if (s.compare(pos, 2, "\x1bK") == 0) {
            ++erases;
            expectRow = (expectRow + 1) % 24;
            pos += 2;
            continue;
        }
        int c = -1;
        int r = -1;
        int used = 0;
        if (std::sscanf(s.c_str() + pos, "\x1b&a%dc%dY%n", &c, &r, &used) != 2 || used == 0) {
            ok = false;
            break;
        }
        pos += static_cast<std::size_t>(used);
        ok = r == expectRow && c >= 0 && c < 80;
        std::size_t end = s.find('\x1b', pos);
        if (end == std::string::npos)
            end = s.size();
        ok = ok && AllPrintable(std::string_view(s).substr(pos, end - pos)) && c + static_cast<int>(end - pos) <= 80;
        pos = end;
    }
    Expect(ok, "screens: rows addressed in order, fields inside 80 columns");
    Expect(erases > 0 && erases % 24 == 0 && expectRow == 0, "screens: whole screens of 24 rows ended by ESC K");
}

void TestEnhancements()
{
    const std::string s = Generate(Workload::Enhancements, 100000);
    bool ok = true;
    int switches = 0;
    for (const std::string& line : SplitCrLf(s)) {
        std::string text;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\x1b') {
                ok = ok && line.compare(i, 3, "\x1b&d") == 0 && i + 3 < line.size() && line[i + 3] >= '@' &&
                     line[i + 3] <= 'O';
                i += 3;
                ++switches;
            } else {
                text += line[i];
            }
        }
        ok = ok && text.size() <= 79 && AllPrintable(text) && line.size() >= 4 &&
             line.compare(line.size() - 4, 4, "\x1b&d@") == 0;
    }
    Expect(ok, "enhancements: lines of at most 79 columns ending ESC & d @");
    Expect(switches > 2 * static_cast<int>(SplitCrLf(s).size()), "enhancements: several switches a line");
}

void TestLineDrawing()
{
    const std::string s = Generate(Workload::LineDrawing, 100000);
    Expect(s.compare(0, 3, "\x1b)B") == 0, "linedrawing: starts with ESC ) B");
    bool ok = true;
    bool shifted = false;
    for (std::size_t i = 3; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\x0e') {
            ok = ok && !shifted;
            shifted = true;
        } else if (c == '\x0f') {
            ok = ok && shifted;
            shifted = false;
        } else if (shifted) {
            ok = ok && std::string_view(",.rtfg").find(c) != std::string_view::npos;
        }
    }
    Expect(ok && !shifted, "linedrawing: SO and SI pair up around line-drawing codes only");
    for (const std::string& line : SplitCrLf(s.substr(3))) {
        std::string visible;
        for (char c : line)
            if (c != '\x0e' && c != '\x0f')
                visible += c;
        ok = ok && visible.size() <= 80;
    }
    Expect(ok, "linedrawing: lines fit 80 columns");
}

std::string Run(const std::string& command)
{
    std::string out;
    std::FILE* p = ::popen(command.c_str(), "r");
    if (p == nullptr)
        return out;
    char buf[65536];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    const int status = ::pclose(p);
    if (status != 0)
        out = "exit status " + std::to_string(status);
    return out;
}

std::string TrimRight(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

void TestScreenShowsPlainWorkload(const std::string& dir)
{
    const std::string file = dir + "/plain.txt";
    std::string error;
    const auto bytes = kalvor::bench::WriteWorkloadFile(Workload::Plain, 2000000, file, error);
    Expect(bytes >= 2000000, "plain: file written " + error);
    std::string text;
    {
        std::FILE* f = std::fopen(file.c_str(), "rb");
        char buf[65536];
        std::size_t n = 0;
        while (f != nullptr && (n = std::fread(buf, 1, sizeof buf, f)) > 0)
            text.append(buf, n);
        if (f != nullptr)
            std::fclose(f);
    }
    const std::vector<std::string> lines = SplitCrLf(text);
    Expect(lines.size() > 30000, "plain: 2 MB hold more than two memories' worth of lines");

    // The screen: the last 23 lines, then the empty row of the cursor.
    std::string want;
    for (std::size_t i = lines.size() - 23; i < lines.size(); ++i)
        want += TrimRight(lines[i]) + "\n";
    want += "\ncursor 23 0\n";
    const std::string screen = Run(std::string(KALVOR_SCREEN_PATH) + " " + file);
    Expect(screen == want, "kalvor-screen plain.txt: the screen shows the last 23 lines");

    // Display memory: the last 14999 lines and the cursor's empty row.
    want.clear();
    for (std::size_t i = lines.size() - 14999; i < lines.size(); ++i)
        want += TrimRight(lines[i]) + "\n";
    want += "\ncursor 23 0\n";
    const std::string memory = Run(std::string(KALVOR_SCREEN_PATH) + " --memory " + file);
    Expect(memory == want, "kalvor-screen --memory plain.txt: memory holds the last 14999 lines");
}

} // namespace

int main()
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "kalvor-test-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string home = tmpl + "/home";
    std::filesystem::create_directory(home);
    ::setenv("KALVOR_HOME", home.c_str(), 1);

    TestDeterministic();
    TestPlain();
    TestScreens();
    TestEnhancements();
    TestLineDrawing();
    TestScreenShowsPlainWorkload(tmpl);

    std::filesystem::remove_all(tmpl);
    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
