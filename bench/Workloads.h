// The four host-output workloads of the benchmarks, generated
// deterministically (the same bytes on every run and machine):
//   plain        printable lines of 20..79 characters, each ending CR LF
//   screens      full 80 x 24 screens drawn with cursor addressing
//                (ESC & a <col>c <row>Y), each row ended by ESC K
//   enhancements lines of words that switch enhancements every few words
//                (ESC & d B, D, H, @, ...)
//   linedrawing  boxes of line-drawing characters between SO and SI, after
//                ESC ) B at the start
// Each has a VT twin for the general-purpose terminals it is compared with:
// the same screens in ANSI sequences (CSI row;col H, CSI K, SGR, the DEC
// special graphics set as G1).
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

namespace kalvor::bench {

enum class Workload { Plain, Screens, Enhancements, LineDrawing };

// The escape language a workload is written in.
enum class Dialect { Hp, Vt };

struct WorkloadInfo {
    Workload Kind;
    const char* Name;  // plain, screens, enhancements, linedrawing
    const char* File;  // file name used by the generator
    double TargetMBps; // throughput target of kalvor-screen, MB/s
};

// Peak resident memory target of kalvor-screen, MB, whatever the input size.
inline constexpr double kPeakRssTargetMB = 40.0;

const std::array<WorkloadInfo, 4>& Workloads();

// Appends whole units (a line, a screen, a box) of the workload until `out`
// holds at least `bytes` more bytes. `state` carries the generator between
// calls; start it at 0 for the first call.
void AppendWorkload(Workload kind, std::uint64_t& state, std::size_t bytes, std::string& out,
                    Dialect dialect = Dialect::Hp);

// Writes at least `bytes` bytes of the workload (whole units) to `path`.
// Returns the number of bytes written, or 0 with `error` set.
std::uint64_t WriteWorkloadFile(Workload kind, std::uint64_t bytes, const std::string& path, std::string& error,
                                Dialect dialect = Dialect::Hp);

} // namespace kalvor::bench
