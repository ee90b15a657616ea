#include "forms/FormsDebugLog.h"

#include "base/Text.h"

#include <algorithm>
#include <fstream>

namespace kalvor::forms {

void FormsDebugLog::Start()
{
    std::error_code ec;
    std::filesystem::create_directories(file_.parent_path(), ec);
    std::ofstream(file_, std::ios::binary | std::ios::trunc);
    depth_ = 0;
    on_ = true;
}

void FormsDebugLog::WriteToDebugFile(std::string_view type, std::string_view message)
{
    if (!on_)
        return;
    std::string kind(TrimSpaces(type));
    std::transform(kind.begin(), kind.end(), kind.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    std::string line;
    if (kind == "enter") {
        line.assign(static_cast<std::size_t>(depth_), ' ').append("Enter : ");
        depth_ += 2;
    } else if (kind == "exit") {
        depth_ = std::max(0, depth_ - 2);
        line.assign(static_cast<std::size_t>(depth_), ' ').append("Exit  : ");
    } else if (kind == "status" || kind == "error") {
        line.assign(static_cast<std::size_t>(depth_), ' ').append("Status: ");
    } else {
        return;
    }
    line.append(message).append("\r\n");
    std::ofstream out(file_, std::ios::binary | std::ios::app);
    out << line;
}

DebugScope::DebugScope(FormsDebugLog* log, std::string_view routine) : log_(log != nullptr && log->On() ? log : nullptr)
{
    if (log_ != nullptr) {
        routine_ = routine;
        log_->WriteToDebugFile("enter", routine_);
    }
}

DebugScope::~DebugScope()
{
    if (log_ != nullptr)
        log_->WriteToDebugFile("exit", routine_);
}

void DebugScope::Status(std::string_view message) const
{
    if (log_ != nullptr)
        log_->WriteToDebugFile("status", message);
}

void DebugStatus(FormsDebugLog* log, std::string_view message)
{
    if (log != nullptr)
        log->WriteToDebugFile("status", message);
}

} // namespace kalvor::forms
