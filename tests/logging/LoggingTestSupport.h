// Helpers of the logging tests: reading files whole, a recording network
// connection, and an error report that keeps every window it was asked to
// show.
#pragma once

#include "comms/Connection.h"
#include "logging/ErrorReport.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kalvor::test {

inline std::string ReadAll(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::filesystem::path& p, std::string_view bytes)
{
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class FakeNetwork final : public Connection {
public:
    NetworkKind NetKind = NetworkKind::TelnetAdvanced;
    std::string Written;

    bool Connected() const override { return true; }
    bool Network() const override { return true; }
    NetworkKind Kind() const override { return NetKind; }
    bool TransportOpen() const override { return true; }
    void Write(std::string_view bytes) override { Written.append(bytes); }
};

// Collects the error windows instead of showing them.
struct ShownErrors {
    std::vector<logging::ErrorWindow> Windows;

    void Attach(logging::ErrorReport& report)
    {
        report.ShowWindow = [this](const logging::ErrorWindow& w) { Windows.push_back(w); };
    }
};

} // namespace kalvor::test
