// kalvor_memory_bench: the memory a full display memory occupies.
// A Session on a 200-column screen is fed host text until every one of the
// 15000 rows holds 200 columns of text with enhancement and character-set
// changes; the heap in use (mallinfo2) is compared before and after.
// Target: under 12 MB. The feeding also gives an in-process throughput.
#include "base/Clock.h"
#include "session/Session.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

constexpr double kTargetMB = 12.0;
constexpr int kCols = 200;
constexpr std::size_t kChunk = 64 * 1024;

struct Figures {
    double MemoryMB = 0;
    double BytesPerRow = 0;
    int RowsInUse = 0;
    int FullRows = 0;
    double HostMBps = 0;
    bool Done = false;
};
Figures g_figures;

std::size_t HeapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// Host text for `rows` rows of 200 columns: ten segments of 20 columns per
// row, each opened by an enhancement; every other segment in the line-drawing
// set. No CR LF: each row wraps into the next at the last column.
std::string HostText(int rows)
{
    static constexpr char kCodes[] = {'B', 'D', 'H', '@', 'J', 'A', 'L', '@', 'I', 'F'};
    static constexpr char kLines[] = {',', '.', 'r', 't', 'f', 'g'};
    std::string out;
    out.reserve(static_cast<std::size_t>(rows) * 300 + 8);
    out += "\x1b)B";
    for (int r = 0; r < rows; ++r) {
        for (int seg = 0; seg < 10; ++seg) {
            out += "\x1b&d";
            out += kCodes[(r + seg) % 10];
            const bool drawing = seg % 2 == 1;
            if (drawing)
                out += '\x0e';
            for (int c = 0; c < 20; ++c)
                out += drawing ? kLines[(r + c) % 6] : static_cast<char>('A' + (r * 7 + seg * 3 + c) % 26);
            if (drawing)
                out += '\x0f';
        }
    }
    return out;
}

void BM_FullDisplayMemory(benchmark::State& state)
{
    kalvor::ManualClock probeClock;
    const int ringRows = kalvor::Session(probeClock).Memory().RingSize();
    const std::string text = HostText(ringRows);
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);
        const std::size_t before = HeapInUse();
        state.ResumeTiming();

        const auto t0 = std::chrono::steady_clock::now();
        kalvor::ManualClock clock;
        auto session = std::make_unique<kalvor::Session>(clock);
        session->SetScreenWidth(kCols);
        for (std::size_t pos = 0; pos < text.size(); pos += kChunk) {
            session->AppendLocal(std::string_view(text).substr(pos, kChunk));
            session->Tick();
        }
        const auto t1 = std::chrono::steady_clock::now();

        state.PauseTiming();
        const std::size_t after = HeapInUse();
        const kalvor::DisplayMemory& mem = session->Memory();
        Figures f;
        f.RowsInUse = mem.UsedRows();
        for (int r = 0; r <= mem.MaxRow; ++r)
            f.FullRows += static_cast<int>(mem.Row(r).Text.size()) == kCols ? 1 : 0;
        f.MemoryMB = static_cast<double>(after - before) / 1e6;
        f.BytesPerRow = static_cast<double>(after - before) / mem.RingSize();
        f.HostMBps = static_cast<double>(text.size()) / 1e6 / std::chrono::duration<double>(t1 - t0).count();
        f.Done = true;
        g_figures = f;
        session.reset();
        state.ResumeTiming();
    }
    state.counters["memory_MB"] = g_figures.MemoryMB;
    state.counters["bytes_per_row"] = g_figures.BytesPerRow;
    state.counters["rows_in_use"] = g_figures.RowsInUse;
    state.counters["rows_200_cols"] = g_figures.FullRows;
    state.counters["host_MB/s"] = g_figures.HostMBps;
}

BENCHMARK(BM_FullDisplayMemory)->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // A program folder of its own, removed at the end.
    std::string tmpl = (std::filesystem::temp_directory_path() / "kalvor-bench-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) {
        std::perror("kalvor_memory_bench: mkdtemp");
        return 1;
    }
    ::setenv("KALVOR_HOME", tmpl.c_str(), 1);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(tmpl);
    if (!g_figures.Done)
        return 0; // filtered out
    std::printf("\nfull display memory (%d rows in use, %d of them with %d columns of text)\n", g_figures.RowsInUse,
                g_figures.FullRows, kCols);
    std::printf("%-22s %10s %10s  %s\n", "figure", "value", "target", "verdict");
    std::printf("%-22s %10.2f %7s%.0f  %s\n", "memory MB", g_figures.MemoryMB, "<", kTargetMB,
                g_figures.MemoryMB < kTargetMB ? "meets target" : "above target");
    std::printf("%-22s %10.0f\n", "bytes per row", g_figures.BytesPerRow);
    std::printf("%-22s %10.1f\n", "in-process MB/s", g_figures.HostMBps);
    return 0;
}
