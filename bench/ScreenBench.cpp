// kalvor_screen_bench: throughput and peak memory of the headless terminal.
// Generates the four workloads into a temporary folder once, then runs
// `kalvor-screen --quiet FILE` as a child process per iteration and measures
// its wall time and its peak resident memory (wait4 rusage).
//
//   kalvor_screen_bench [--mb=N] [--runs=N] [benchmark options]
//     --mb=N    size of each workload in MB (10^6 bytes); default 50, or
//               the environment variable KALVOR_BENCH_MB
//     --runs=N  iterations per workload (default 3)
// After the benchmarks a table compares the figures with their targets.
#include "Workloads.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#ifndef KALVOR_SCREEN_PATH
#error "KALVOR_SCREEN_PATH must name the kalvor-screen executable"
#endif

extern char** environ;

namespace {

using kalvor::bench::WorkloadInfo;

struct Result {
    std::string Name;
    double SizeMB = 0;
    double MBps = 0;
    double TargetMBps = 0;
    double PeakRssMB = 0;
    int Runs = 0;
    bool Failed = false;
};

std::string g_dir;
std::vector<Result> g_results;

struct ChildRun {
    bool Ok = false;
    double Seconds = 0;
    long MaxRssKb = 0;
    std::string Error;
};

ChildRun RunScreen(const std::string& file)
{
    ChildRun r;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::string exe = KALVOR_SCREEN_PATH;
    std::string quiet = "--quiet";
    std::string arg = file;
    char* argv[] = {exe.data(), quiet.data(), arg.data(), nullptr};

    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        r.Error = "cannot start " + exe + ": " + std::strerror(rc);
        return r;
    }
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid) {
        r.Error = "wait4 failed";
        return r;
    }
    const auto t1 = std::chrono::steady_clock::now();
    r.Seconds = std::chrono::duration<double>(t1 - t0).count();
    r.MaxRssKb = usage.ru_maxrss;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        r.Error = "kalvor-screen failed on " + file;
        return r;
    }
    r.Ok = true;
    return r;
}

void BM_Screen(benchmark::State& state, const WorkloadInfo* w)
{
    const std::string file = g_dir + "/" + w->File;
    std::error_code ec;
    const auto bytes = static_cast<double>(std::filesystem::file_size(file, ec));
    Result res;
    res.Name = w->Name;
    res.SizeMB = bytes / 1e6;
    res.TargetMBps = w->TargetMBps;
    double total = 0;
    long peakKb = 0;
    for (auto _ : state) {
        const ChildRun run = RunScreen(file);
        if (!run.Ok) {
            state.SkipWithError(run.Error.c_str());
            res.Failed = true;
            break;
        }
        state.SetIterationTime(run.Seconds);
        total += run.Seconds;
        peakKb = std::max(peakKb, run.MaxRssKb);
        ++res.Runs;
    }
    if (res.Runs > 0) {
        res.MBps = bytes / 1e6 / (total / res.Runs);
        res.PeakRssMB = static_cast<double>(peakKb) * 1024 / 1e6;
        state.counters["MB/s"] = res.MBps;
        state.counters["peak_RSS_MB"] = res.PeakRssMB;
        state.counters["size_MB"] = res.SizeMB;
    }
    g_results.push_back(res);
}

void PrintTable()
{
    std::printf("\nkalvor-screen --quiet FILE (MB = 10^6 bytes)\n");
    std::printf("%-14s %9s %9s %9s %12s %9s  %s\n", "workload", "size MB", "MB/s", "target", "peak RSS MB", "target",
                "verdict");
    for (const Result& r : g_results) {
        if (r.Failed || r.Runs == 0) {
            std::printf("%-14s %9.1f %9s %9s %12s %9s  %s\n", r.Name.c_str(), r.SizeMB, "-", "-", "-", "-", "FAILED");
            continue;
        }
        const bool fast = r.MBps >= r.TargetMBps;
        const bool small = r.PeakRssMB < kalvor::bench::kPeakRssTargetMB;
        const char* verdict = fast && small     ? "meets targets"
                              : !fast && !small ? "slow, large"
                              : !fast           ? "below target"
                                                : "too much memory";
        std::printf("%-14s %9.1f %9.1f %8s%.0f %12.1f %8s%.0f  %s\n", r.Name.c_str(), r.SizeMB, r.MBps,
                    ">=", r.TargetMBps, r.PeakRssMB, "<", kalvor::bench::kPeakRssTargetMB, verdict);
    }
}

bool ParseNumber(const char* text, double& out)
{
    char* end = nullptr;
    out = std::strtod(text, &end);
    return end != text && *end == '\0' && out > 0;
}

} // namespace

int main(int argc, char** argv)
{
    double mb = 50;
    if (const char* env = std::getenv("KALVOR_BENCH_MB"); env != nullptr && !ParseNumber(env, mb)) {
        std::fprintf(stderr, "kalvor_screen_bench: KALVOR_BENCH_MB must be a positive number\n");
        return 2;
    }
    double runs = 3;
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--mb=", 5) == 0) {
            if (!ParseNumber(argv[i] + 5, mb)) {
                std::fprintf(stderr, "kalvor_screen_bench: --mb takes a positive number\n");
                return 2;
            }
        } else if (std::strncmp(argv[i], "--runs=", 7) == 0) {
            if (!ParseNumber(argv[i] + 7, runs)) {
                std::fprintf(stderr, "kalvor_screen_bench: --runs takes a positive number\n");
                return 2;
            }
        } else {
            rest.push_back(argv[i]);
        }
    }
    int restCount = static_cast<int>(rest.size());
    rest.push_back(nullptr);
    benchmark::Initialize(&restCount, rest.data());
    if (benchmark::ReportUnrecognizedArguments(restCount, rest.data()))
        return 2;

    std::string tmpl = (std::filesystem::temp_directory_path() / "kalvor-bench-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) {
        std::perror("kalvor_screen_bench: mkdtemp");
        return 1;
    }
    g_dir = tmpl;
    // The child gets a program folder of its own.
    const std::string home = g_dir + "/home";
    std::filesystem::create_directory(home);
    ::setenv("KALVOR_HOME", home.c_str(), 1);

    std::fprintf(stderr, "generating the workloads (%.0f MB each) in %s\n", mb, g_dir.c_str());
    for (const WorkloadInfo& w : kalvor::bench::Workloads()) {
        std::string error;
        if (kalvor::bench::WriteWorkloadFile(w.Kind, static_cast<std::uint64_t>(mb * 1e6), g_dir + "/" + w.File,
                                             error) == 0) {
            std::fprintf(stderr, "kalvor_screen_bench: %s\n", error.c_str());
            std::filesystem::remove_all(g_dir);
            return 1;
        }
    }
    for (const WorkloadInfo& w : kalvor::bench::Workloads()) {
        benchmark::RegisterBenchmark((std::string("kalvor_screen/") + w.Name).c_str(), BM_Screen, &w)
            ->UseManualTime()
            ->Iterations(static_cast<benchmark::IterationCount>(runs))
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintTable();
    std::filesystem::remove_all(g_dir);
    bool failed = false;
    for (const Result& r : g_results)
        failed = failed || r.Failed;
    return failed ? 1 : 0;
}
