// What the side files ask of the program around them once a file is
// finished: the printer, the text editor, and the two questions of saving
// the record file. The session implements it and passes it on to its
// observer (the window).
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace kalvor::logging {

class SideFileEvents {
public:
    // Prints `file`; the file must not be needed any more when it returns.
    virtual void PrintFile(const std::filesystem::path& file) = 0;
    // Shows `file` in the desktop's text editor.
    virtual void OpenDocument(const std::filesystem::path& file) = 0;
    // The file chooser titled `title`: the chosen file, or nullopt when the
    // user cancelled.
    virtual std::optional<std::filesystem::path> AskFileName(std::string_view title) = 0;
    // A yes/no question titled `title`: true for "Yes".
    virtual bool AskYesNo(std::string_view title, std::string_view text) = 0;

protected:
    ~SideFileEvents() = default;
};

} // namespace kalvor::logging
