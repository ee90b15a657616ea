// A side-file fake: records the files handed to the printer (their contents,
// read at once: the caller may remove them right after) and to the text
// editor, and answers the file chooser and yes/no questions with preset
// values. RecordingSideFilesOf adds this to any interface with those four
// calls (the session observer has them too).
#pragma once

#include "FileBytes.h"

#include "logging/SideFileEvents.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kalvor::test {

template <class Interface>
class RecordingSideFilesOf : public Interface {
public:
    std::vector<std::string> Printed;
    std::vector<std::filesystem::path> Opened;
    std::vector<std::string> Questions; // the file chooser's title, or "title|text" of a yes/no question
    std::optional<std::filesystem::path> FileName;
    bool Yes = false;

    void PrintFile(const std::filesystem::path& file) override { Printed.push_back(ReadAll(file)); }
    void OpenDocument(const std::filesystem::path& file) override { Opened.push_back(file); }
    std::optional<std::filesystem::path> AskFileName(std::string_view title) override
    {
        Questions.emplace_back(title);
        return FileName;
    }
    bool AskYesNo(std::string_view title, std::string_view text) override
    {
        Questions.push_back(std::string(title) + "|" + std::string(text));
        return Yes;
    }
};

using RecordingSideFiles = RecordingSideFilesOf<logging::SideFileEvents>;

} // namespace kalvor::test
