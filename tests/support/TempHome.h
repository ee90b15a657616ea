// A fresh program folder for one test: creates a temporary directory, points
// KALVOR_HOME at it, and removes it afterwards.
#pragma once

#include <filesystem>

namespace kalvor::test {

class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace kalvor::test
