// Record mode: while it is on, the host output the text writer receives
// (with control characters as mnemonics) is copied to a record file for each
// destination of the output routing: "temp/zkprnt.txt" for the printer
// (routing bit 2) and "temp/zkrec.txt" for a file (bit 4). Ending record
// mode prints and deletes the printer file, and offers to save the record
// file under a name the user chooses before deleting it.
//
// The record-mode state itself (0, 1, 2) and its label belong to the
// terminal state and the function keys; this class keeps the files.
#pragma once

#include "logging/ErrorReport.h"
#include "logging/SideFile.h"
#include "logging/SideFileEvents.h"

#include <filesystem>
#include <string_view>

namespace kalvor::logging {

class RecordFiles {
public:
    static constexpr const char* kPrinterFileName = "temp/zkprnt.txt";
    static constexpr const char* kRecordFileName = "temp/zkrec.txt";
    static constexpr int kToPrinter = 2;
    static constexpr int kToFile = 4;

    static constexpr std::string_view kSaveAsTitle = "Save Record File As";
    static constexpr std::string_view kReplaceTitle = "Save Record File";
    static constexpr std::string_view kReplaceText = "File exists. Replace current file?";

    RecordFiles(ErrorReport& errors, SideFileEvents& events) : errors_(errors), events_(events) {}

    // Opens (deleting first) the file of each destination bit of
    // `destinations` (2 printer, 4 file). Returns 0 or the first error
    // number (reported with the location "TurnOnRecordMode").
    [[nodiscard]] int TurnOnRecordMode(int destinations);
    // Printer destination: closes, prints and deletes its file. File
    // destination: closes its file, SaveRecordFile, deletes the file.
    // Returns 0 or the first error number (reported).
    [[nodiscard]] int TurnOffRecordMode();
    // Asks for a name, asks before replacing an existing file (keeping it on
    // "No"), and copies "temp/zkrec.txt" there. Returns 0 when saved or
    // declined, else the error number (reported as "SaveRecordFile").
    [[nodiscard]] int SaveRecordFile();

    // Host output while record mode is on: appended to every open file.
    // Failures are reported with the location "ZKFileWrite" and close the
    // file concerned.
    void Write(std::string_view text);

    bool On() const { return printer_.IsOpen() || file_.IsOpen(); }
    bool PrinterOpen() const { return printer_.IsOpen(); }
    bool FileOpen() const { return file_.IsOpen(); }
    std::filesystem::path PrinterPath() const { return printer_.Path(); }
    std::filesystem::path RecordPath() const { return file_.Path(); }

private:
    void WriteTo(SideFile& f, std::string_view text);

    ErrorReport& errors_;
    SideFileEvents& events_;
    SideFile printer_{kPrinterFileName};
    SideFile file_{kRecordFileName};
    bool printerUsed_ = false;
    bool fileUsed_ = false;
};

} // namespace kalvor::logging
