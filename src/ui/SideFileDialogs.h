// How the window serves the session's side files: files to print go to
// PrintTermFile (printer log, record file, escape log), ESC 0 prints the
// screen, documents (the communications log, display dumps) open in the
// desktop's text editor, and SaveRecordFile asks its questions in a file
// chooser titled "Save Record File As" and a yes/no box titled "Save Record
// File". The main window's session observer calls these.
#pragma once

#include "engine/DisplayMemory.h"

#include <filesystem>
#include <optional>
#include <string_view>

class QWidget;

namespace kalvor::ui {

class Printing;

// The desktop's text editor shows `file`.
void OpenInTextEditor(const std::filesystem::path& file);
// ESC 0: the rows of the screen, without the cursor line, to the printer.
void PrintScreenText(Printing& printing, const DisplayMemory& memory);
// The file chooser of SaveRecordFile: the chosen file, nullopt when cancelled.
std::optional<std::filesystem::path> AskRecordFileName(QWidget* parent, std::string_view title);
// The yes/no box of SaveRecordFile: true for "Yes".
bool AskRecordYesNo(QWidget* parent, std::string_view title, std::string_view text);

} // namespace kalvor::ui
