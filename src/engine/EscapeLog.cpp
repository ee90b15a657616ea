#include "engine/EscapeLog.h"

#include <string>
#include <system_error>

namespace kalvor {

bool EscapeLog::Open(const std::filesystem::path& programFolder)
{
    Close();
    path_ = programFolder / kFileName;
    std::error_code ec;
    std::filesystem::create_directories(path_.parent_path(), ec);
    if (ec)
        return false;
    file_ = std::fopen(path_.c_str(), "wb");
    return file_ != nullptr;
}

bool EscapeLog::Append(std::string_view bytes)
{
    if (file_ == nullptr)
        return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        return false;
    return std::fflush(file_) == 0;
}

bool EscapeLog::AppendEscape(std::string_view seq)
{
    std::string marked(seq);
    for (char& c : marked)
        if (c == '\x1b')
            c = static_cast<char>(kEscMark);
    return Append(marked);
}

bool EscapeLog::Close()
{
    if (file_ == nullptr)
        return true;
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
}

} // namespace kalvor
