// The escape log of strap N: "temp/zkesc.txt" under the program folder. It
// is created (or emptied) when the strap is set, stays open while the strap
// is set, and takes what the terminal engine hands over while it is on (the
// enhancement escapes with ESC written as 251, and the marks of SO, SI, CR
// and HT), every write flushed at once so that the file is complete at every
// moment. Every operation returns 0 or the number of the error table.
#pragma once

#include "logging/SideFile.h"

#include <filesystem>
#include <string_view>

namespace kalvor::logging {

class EscapeLog {
public:
    static constexpr std::string_view kFileName = "temp/zkesc.txt";

    // Creates or empties the file; a log already open is closed first.
    int Open() { return file_.Create(); }
    // Appends `text` as it is.
    int Append(std::string_view text) { return file_.Write(text); }
    // Closing a closed log is harmless.
    int Close() { return file_.Close(); }

    bool IsOpen() const { return file_.IsOpen(); }
    // The file of the last Open.
    std::filesystem::path Path() const { return file_.Path(); }

private:
    SideFile file_{std::string(kFileName)};
};

} // namespace kalvor::logging
