// kalvor-bench-gen: writes the benchmark workloads into a folder.
//   kalvor-bench-gen [--mb N] [--only NAME] [--vt] DIR
// Each file holds at least N MB (10^6 bytes, default 50) of whole units.
// --vt also writes each workload's VT twin, NAME.vt.txt.
#include "Workloads.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    double mb = 50;
    std::string dir;
    std::string only;
    bool vt = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--mb" || a == "--only") && i + 1 < argc) {
            const std::string v = argv[++i];
            if (a == "--only") {
                only = v;
                continue;
            }
            try {
                mb = std::stod(v);
            } catch (...) {
                mb = -1;
            }
            if (!(mb > 0)) {
                std::fprintf(stderr, "kalvor-bench-gen: --mb takes a positive number\n");
                return 2;
            }
        } else if (a == "--vt") {
            vt = true;
        } else if (a == "--help" || a == "-h") {
            std::printf("usage: kalvor-bench-gen [--mb N] [--only NAME] [--vt] DIR\n"
                        "Writes plain.txt, screens.txt, enhancements.txt and linedrawing.txt\n"
                        "(at least N MB each, default 50) into DIR; with --vt also their VT twins\n"
                        "(NAME.vt.txt: the same screens in ANSI sequences).\n");
            return 0;
        } else if (!a.empty() && a[0] != '-' && dir.empty()) {
            dir = a;
        } else {
            std::fprintf(stderr, "usage: kalvor-bench-gen [--mb N] [--only NAME] [--vt] DIR\n");
            return 2;
        }
    }
    if (dir.empty()) {
        std::fprintf(stderr, "usage: kalvor-bench-gen [--mb N] [--only NAME] [--vt] DIR\n");
        return 2;
    }
    const auto bytes = static_cast<std::uint64_t>(mb * 1e6);
    bool found = false;
    for (const auto& w : kalvor::bench::Workloads()) {
        if (!only.empty() && only != w.Name)
            continue;
        found = true;
        for (const auto dialect : {kalvor::bench::Dialect::Hp, kalvor::bench::Dialect::Vt}) {
            if (dialect == kalvor::bench::Dialect::Vt && !vt)
                continue;
            std::string error;
            const std::string path =
                dir + "/" + (dialect == kalvor::bench::Dialect::Vt ? std::string(w.Name) + ".vt.txt" : w.File);
            const std::uint64_t n = kalvor::bench::WriteWorkloadFile(w.Kind, bytes, path, error, dialect);
            if (n == 0) {
                std::fprintf(stderr, "kalvor-bench-gen: %s\n", error.c_str());
                return 1;
            }
            std::printf("%s %llu bytes\n", path.c_str(), static_cast<unsigned long long>(n));
        }
    }
    if (!found) {
        std::fprintf(stderr, "kalvor-bench-gen: no workload named %s\n", only.c_str());
        return 2;
    }
    return 0;
}
