// kalvor-bench-gen: writes the benchmark workloads into a folder.
//   kalvor-bench-gen [--mb N] [--only NAME] DIR
// Each file holds at least N MB (10^6 bytes, default 50) of whole units.
#include "Workloads.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    double mb = 50;
    std::string dir;
    std::string only;
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
        } else if (a == "--help" || a == "-h") {
            std::printf("usage: kalvor-bench-gen [--mb N] [--only NAME] DIR\n"
                        "Writes plain.txt, screens.txt, enhancements.txt and linedrawing.txt\n"
                        "(at least N MB each, default 50) into DIR.\n");
            return 0;
        } else if (!a.empty() && a[0] != '-' && dir.empty()) {
            dir = a;
        } else {
            std::fprintf(stderr, "usage: kalvor-bench-gen [--mb N] [--only NAME] DIR\n");
            return 2;
        }
    }
    if (dir.empty()) {
        std::fprintf(stderr, "usage: kalvor-bench-gen [--mb N] [--only NAME] DIR\n");
        return 2;
    }
    const auto bytes = static_cast<std::uint64_t>(mb * 1e6);
    bool found = false;
    for (const auto& w : kalvor::bench::Workloads()) {
        if (!only.empty() && only != w.Name)
            continue;
        found = true;
        std::string error;
        const std::string path = dir + "/" + w.File;
        const std::uint64_t n = kalvor::bench::WriteWorkloadFile(w.Kind, bytes, path, error);
        if (n == 0) {
            std::fprintf(stderr, "kalvor-bench-gen: %s\n", error.c_str());
            return 1;
        }
        std::printf("%s %llu bytes\n", path.c_str(), static_cast<unsigned long long>(n));
    }
    if (!found) {
        std::fprintf(stderr, "kalvor-bench-gen: no workload named %s\n", only.c_str());
        return 2;
    }
    return 0;
}
