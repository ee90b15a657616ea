#include "TempHome.h"

#include <cstdlib>
#include <string>

namespace kalvor::test {

TempHome::TempHome()
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "kalvor-test-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr)
        std::abort();
    path_ = tmpl;
    ::setenv("KALVOR_HOME", path_.c_str(), 1);
}

TempHome::~TempHome()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    ::unsetenv("KALVOR_HOME");
}

} // namespace kalvor::test
