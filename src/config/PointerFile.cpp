#include "config/PointerFile.h"

#include "config/ConfigPaths.h"
#include "config/FileText.h"
#include "logging/ErrorReport.h"

#include <algorithm>

namespace kalvor::config {
namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kNameIntro = "Default File Name = ";

int WritePointer(std::string_view name)
{
    const std::filesystem::path path = ConfigPath(kPointerFileName);
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    if (ec)
        return logging::ErrorNumberFor(ec, path.parent_path());
    return WriteFileBytes(path, FormatPointerFile(name));
}

} // namespace

std::string FormatPointerFile(std::string_view name)
{
    std::string f;
    f += kEol;
    f += kEol;
    f += StarLine();
    f += StarLine();
    f += std::string(33, ' ') + "Tavlex Terminal" + std::string(kEol);
    f += std::string(30, ' ') + "Default File Name" + std::string(kEol);
    f += StarLine();
    f += StarLine();
    f += kEol;
    f += kEol;
    f += std::string(12, ' ');
    f += kNameIntro;
    std::string field(name.substr(0, kPointerNameField));
    field.resize(kPointerNameField, ' ');
    f += field;
    f += kEol;
    return f;
}

std::optional<std::string> ParsePointerFile(std::string_view bytes)
{
    // The fixed text before the name tells a pointer file from anything else.
    if (bytes.size() <= kPointerNameOffset ||
        bytes.substr(kPointerNameOffset - kNameIntro.size(), kNameIntro.size()) != kNameIntro)
        return std::nullopt;
    std::string_view name = TrimSpaces(bytes.substr(kPointerNameOffset, kPointerNameField));
    name = name.substr(0, name.find('\0'));
    name = name.substr(0, name.find('\r'));
    name = TrimSpaces(name);
    if (!IsConfigName(name))
        return std::nullopt;
    return std::string(name);
}

DefaultFile GetDefaultFile()
{
    DefaultFile d;
    d.Name = std::string(kDefaultConfigName);
    d.Created = true;
    std::string bytes;
    const std::filesystem::path path = ConfigPath(kPointerFileName);
    if (const int err = ReadFileBytes(path, bytes, kPointerFileSize); err == 0) {
        if (auto name = ParsePointerFile(bytes)) {
            d.Name = std::move(*name);
            d.Created = false;
            return d;
        }
        d.Damaged = true;
        d.Kept = KeepDamagedCopy(kPointerFileName);
        if (d.Kept.Error != 0) {
            // Not kept: not replaced either.
            d.Created = false;
            d.Error = d.Kept.Error;
            return d;
        }
    } else {
        std::error_code ec;
        if (std::filesystem::exists(path, ec)) {
            d.Created = false;
            d.Error = err;
            return d;
        }
    }
    d.Error = WritePointer(d.Name);
    return d;
}

int UpdateDefaultFile(std::string_view name)
{
    if (name.size() > kMaxConfigNameLength)
        return logging::kErrFileNameTooLong;
    return WritePointer(name);
}

} // namespace kalvor::config
