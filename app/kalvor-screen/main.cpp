// kalvor-screen: the headless terminal. Feeds host output to the same engine
// and receive pass as the desktop program and prints the final screen.
#include "HeadlessTerminal.h"
#include "ScreenOptions.h"
#include "base/Version.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            std::cout << kalvor::kScreenUsage;
            return 0;
        }
        if (a == "--version") {
            std::cout << "kalvor-screen " << kalvor::kVersion << "\n";
            return 0;
        }
    }
    std::string error;
    const auto options = kalvor::ParseScreenOptions(args, error);
    if (!options) {
        std::cerr << "kalvor-screen: " << error << "\n" << kalvor::kScreenUsage;
        return 2;
    }
    return kalvor::RunScreen(*options, std::cout, std::cerr);
}
