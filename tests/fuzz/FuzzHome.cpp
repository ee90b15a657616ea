// The program folder of every fuzz run is a fresh temporary one, removed at
// exit. Linked into every fuzz target.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

std::string g_home;

void RemoveHome()
{
    std::error_code ec;
    std::filesystem::remove_all(g_home, ec);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "kalvor-fuzz-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr)
        std::abort();
    g_home = tmpl;
    ::setenv("KALVOR_HOME", g_home.c_str(), 1);
    std::atexit(RemoveHome);
    return 0;
}
