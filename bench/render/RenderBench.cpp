// kalvor_render_bench: the speed and memory of the desktop program.
//
//   BM_FullRepaint      a 132 x 60 screen of mixed enhancements and line
//                       drawing redrawn whole at cell size 8 x 16 (target <= 3 ms)
//   BM_OneRowRepaint    one changed row of that screen (target <= 0.2 ms)
//   BM_StreamPlain      the plain-lines workload fed in 64 KiB chunks through
//                       the main window's receive timer (offscreen), against
//                       kalvor-screen --quiet on the same file (target: at
//                       least half its throughput)
//   BM_KeyToPixels      a key event for a locally echoed character until the
//                       window has painted it (target < 10 ms)
//   BM_PeakMemory       peak resident memory of kalvor (offscreen) holding a
//                       full 15000-row display memory of 200 columns (target < 100 MB)
//
//   kalvor_render_bench [--mb=N] [benchmark options]   (N: plain workload size, default 20)
// A table of the figures against their targets follows the benchmarks.
#include "Workloads.h"

#include "base/Clock.h"
#include "render/Renderer.h"
#include "session/Session.h"
#include "ui/MainWindow.h"
#include "ui/TerminalView.h"

#include <QApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#ifndef KALVOR_SCREEN_PATH
#error "KALVOR_SCREEN_PATH must name kalvor-screen"
#endif
#ifndef KALVOR_PATH
#error "KALVOR_PATH must name kalvor"
#endif

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double g_mb = 20;
std::string g_dir;

struct Figure {
    const char* Name;
    double Value = -1;
    const char* Unit;
    const char* Target;
    bool Met = false;
};
Figure g_full{"full repaint 132x60 @ 8x16", -1, "ms", "<= 3", false};
Figure g_row{"one changed row", -1, "ms", "<= 0.2", false};
Figure g_stream{"plain stream via receive timer", -1, "MB/s", ">= 1/2 of kalvor-screen", false};
Figure g_screen{"kalvor-screen same input", -1, "MB/s", "", true};
Figure g_key{"key press to pixels", -1, "ms", "< 10", false};
Figure g_rss{"kalvor peak RSS, 15000 rows", -1, "MB", "< 100", false};

// A 132 x 60 screen: every row in eleven segments of twelve columns, each
// with its own enhancement, every third one in the line-drawing set.
std::string MixedScreen()
{
    static constexpr char kCodes[] = "@ABCDEFGHIJKLMNO";
    static constexpr char kLines[] = ",.rtfg/5678c";
    std::string out = "\x1b&w132F\x1b)B";
    for (int r = 0; r < 60; ++r) {
        out += "\x1b&a0c" + std::to_string(r) + "Y";
        for (int seg = 0; seg < 11; ++seg) {
            out += "\x1b&d";
            out += kCodes[(r + seg) % 16];
            const bool lines = seg % 3 == 2;
            if (lines)
                out += '\x0e';
            for (int c = 0; c < 12; ++c)
                out += lines ? kLines[(r + c) % 12] : static_cast<char>('A' + (r * 7 + seg * 5 + c) % 58);
            if (lines)
                out += '\x0f';
        }
    }
    return out;
}

// The mixed screen as a session interprets it: a copy of its terminal state.
kalvor::TerminalState MixedState()
{
    kalvor::ManualClock clock;
    kalvor::Session session{clock};
    session.SetScreenRows(60);
    session.AppendLocal(MixedScreen());
    session.Tick();
    return session.State();
}

// The renderer drawing the mixed screen (the benchmarks mark its rows for
// repaint).
struct MixedSession {
    MixedSession()
    {
        renderer.SetCell(kalvor::render::CellForIndex(1), 1.0);
        Refresh(); // glyphs cached
    }
    void Refresh()
    {
        renderer.RefreshTerminal(screen);
        screen.Mem.ClearRepaint();
    }
    kalvor::TerminalState screen = MixedState();
    kalvor::render::Renderer renderer;
};

void BM_FullRepaint(benchmark::State& state)
{
    MixedSession m;
    for (auto _ : state) {
        m.renderer.Invalidate();
        m.Refresh();
        benchmark::DoNotOptimize(m.renderer.Image().constBits());
    }
    g_full.Value = 0; // filled from the timing below
    const auto t0 = Clock::now();
    const int n = 200;
    for (int i = 0; i < n; ++i) {
        m.renderer.Invalidate();
        m.Refresh();
    }
    g_full.Value = std::chrono::duration<double, std::milli>(Clock::now() - t0).count() / n;
    g_full.Met = g_full.Value <= 3.0;
    state.counters["cells"] = m.renderer.LastRefresh().CellsDrawn;
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_OneRowRepaint(benchmark::State& state)
{
    MixedSession m;
    for (auto _ : state) {
        m.screen.Mem.MarkChanged(30, 0);
        m.Refresh();
    }
    const auto t0 = Clock::now();
    const int n = 2000;
    for (int i = 0; i < n; ++i) {
        m.screen.Mem.MarkChanged(30, 0);
        m.Refresh();
    }
    g_row.Value = std::chrono::duration<double, std::milli>(Clock::now() - t0).count() / n;
    g_row.Met = g_row.Value <= 0.2;
    state.counters["cells"] = m.renderer.LastRefresh().CellsDrawn;
}
BENCHMARK(BM_OneRowRepaint)->Unit(benchmark::kMicrosecond);

struct ChildRun {
    bool Ok = false;
    double Seconds = 0;
    long MaxRssKb = 0;
};

ChildRun RunChild(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    ChildRun r;
    const auto t0 = Clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return r;
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid)
        return r;
    r.Seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    r.MaxRssKb = usage.ru_maxrss;
    r.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return r;
}

void BM_StreamPlain(benchmark::State& state)
{
    using kalvor::bench::Workload;
    std::string data;
    std::uint64_t seed = 0;
    kalvor::bench::AppendWorkload(Workload::Plain, seed, static_cast<std::size_t>(g_mb * 1e6), data);
    const std::string file = g_dir + "/plain.txt";
    std::ofstream(file, std::ios::binary).write(data.data(), static_cast<std::streamsize>(data.size()));

    constexpr std::size_t kChunk = 64 * 1024;
    double seconds = 0;
    int runs = 0;
    for (auto _ : state) {
        kalvor::ui::WindowOptions o;
        o.StartTimer = false;
        kalvor::ui::MainWindow window(o);
        window.show();
        QCoreApplication::processEvents();
        const auto t0 = Clock::now();
        for (std::size_t pos = 0; pos < data.size(); pos += kChunk) {
            window.AppendHostText(std::string_view(data).substr(pos, kChunk));
            window.CurBlinkTimer_Timer();
            QCoreApplication::processEvents(); // the window paints what was drawn
        }
        seconds += std::chrono::duration<double>(Clock::now() - t0).count();
        ++runs;
    }
    g_stream.Value = data.size() / 1e6 / (seconds / runs);
    state.counters["MB/s"] = g_stream.Value;

    double screenSeconds = 0;
    int screenRuns = 0;
    for (int i = 0; i < 3; ++i) {
        const ChildRun r = RunChild({KALVOR_SCREEN_PATH, "--quiet", file});
        if (r.Ok) {
            screenSeconds += r.Seconds;
            ++screenRuns;
        }
    }
    if (screenRuns > 0) {
        g_screen.Value = data.size() / 1e6 / (screenSeconds / screenRuns);
        g_stream.Met = g_stream.Value >= g_screen.Value / 2;
        state.counters["screen_MB/s"] = g_screen.Value;
    }
}
BENCHMARK(BM_StreamPlain)->Iterations(2)->Unit(benchmark::kMillisecond);

void BM_KeyToPixels(benchmark::State& state)
{
    kalvor::ui::WindowOptions o;
    o.StartTimer = false;
    kalvor::ui::MainWindow window(o);
    window.show();
    QCoreApplication::processEvents();
    kalvor::ui::TerminalView& view = window.View();
    double total = 0, worst = 0;
    int n = 0;
    for (auto _ : state) {
        const int paints = view.PaintCount();
        const auto t0 = Clock::now();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(&view, &press);
        QApplication::sendEvent(&view, &release);
        while (view.PaintCount() == paints)
            QCoreApplication::processEvents();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        total += ms;
        worst = std::max(worst, ms);
        ++n;
        if (window.GetSession().Memory().CurCol >= 70) {
            state.PauseTiming();
            QKeyEvent ret(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            QApplication::sendEvent(&view, &ret);
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
    g_key.Value = total / n;
    g_key.Met = worst < 10.0;
    state.counters["worst_ms"] = worst;
}
BENCHMARK(BM_KeyToPixels)->Iterations(300)->Unit(benchmark::kMicrosecond);

// Host text for a full display memory: 200 columns, rows of enhancement and
// line-drawing segments, wrapping row to row.
std::string FullMemoryText(int rows)
{
    static constexpr char kCodes[] = {'B', 'D', 'H', '@', 'J', 'A', 'L', '@', 'I', 'F'};
    static constexpr char kLines[] = {',', '.', 'r', 't', 'f', 'g'};
    std::string out = "\x1b&w200F\x1b)B";
    out.reserve(static_cast<std::size_t>(rows) * 300);
    for (int r = 0; r < rows; ++r) {
        for (int seg = 0; seg < 10; ++seg) {
            out += "\x1b&d";
            out += kCodes[(r + seg) % 10];
            const bool lines = seg % 2 == 1;
            if (lines)
                out += '\x0e';
            for (int c = 0; c < 20; ++c)
                out += lines ? kLines[(r + c) % 6] : static_cast<char>('A' + (r * 7 + seg * 3 + c) % 26);
            if (lines)
                out += '\x0f';
        }
    }
    return out;
}

void BM_PeakMemory(benchmark::State& state)
{
    const std::string file = g_dir + "/full-memory.txt";
    const std::string text = FullMemoryText(15100);
    std::ofstream(file, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
    long peak = 0;
    for (auto _ : state) {
        const ChildRun r = RunChild({KALVOR_PATH, "--replay", file, "--exit-after-replay"});
        if (!r.Ok) {
            state.SkipWithError("kalvor failed");
            return;
        }
        peak = std::max(peak, r.MaxRssKb);
    }
    g_rss.Value = peak * 1024.0 / 1e6;
    g_rss.Met = g_rss.Value < 100;
    state.counters["peak_RSS_MB"] = g_rss.Value;
}
BENCHMARK(BM_PeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void PrintTable()
{
    std::printf("\nkalvor desktop program\n%-34s %10s %-6s %-26s %s\n", "figure", "value", "unit", "target", "verdict");
    for (const Figure* f : {&g_full, &g_row, &g_stream, &g_screen, &g_key, &g_rss}) {
        if (f->Value < 0)
            continue;
        std::printf("%-34s %10.3f %-6s %-26s %s\n", f->Name, f->Value, f->Unit, f->Target,
                    f->Target[0] == '\0' ? ""
                    : f->Met             ? "meets target"
                                         : "MISSES TARGET");
    }
    if (g_key.Value >= 0)
        std::printf("(key press to pixels: mean shown; the target is checked against the worst case)\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--mb=", 5) == 0) {
            g_mb = std::atof(argv[i] + 5);
            if (g_mb <= 0) {
                std::fprintf(stderr, "kalvor_render_bench: --mb takes a positive number\n");
                return 2;
            }
        } else {
            rest.push_back(argv[i]);
        }
    }
    int restCount = static_cast<int>(rest.size());
    QApplication app(restCount, rest.data());
    benchmark::Initialize(&restCount, rest.data());
    if (benchmark::ReportUnrecognizedArguments(restCount, rest.data()))
        return 2;

    std::string tmpl = (std::filesystem::temp_directory_path() / "kalvor-render-bench-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) {
        std::perror("kalvor_render_bench: mkdtemp");
        return 1;
    }
    g_dir = tmpl;
    const std::string home = g_dir + "/home";
    std::filesystem::create_directory(home);
    ::setenv("KALVOR_HOME", home.c_str(), 1);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(g_dir);
    PrintTable();
    return 0;
}
