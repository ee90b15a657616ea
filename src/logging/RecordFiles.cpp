#include "logging/RecordFiles.h"

#include "base/AtomicFile.h"

#include <fstream>
#include <iterator>
#include <string>

namespace kalvor::logging {

int RecordFiles::TurnOnRecordMode(int destinations)
{
    int first = 0;
    const auto open = [&](SideFile& f, bool& used) {
        used = true;
        if (const int err = f.Create(); err != 0) {
            errors_.Report("TurnOnRecordMode", err, f.Name());
            if (first == 0)
                first = err;
        }
    };
    printerUsed_ = fileUsed_ = false;
    if (destinations & kToPrinter)
        open(printer_, printerUsed_);
    if (destinations & kToFile)
        open(file_, fileUsed_);
    return first;
}

int RecordFiles::TurnOffRecordMode()
{
    int first = 0;
    const auto note = [&](int err, const SideFile& f) {
        if (err == 0)
            return;
        errors_.Report("TurnOffRecordMode", err, f.Name());
        if (first == 0)
            first = err;
    };
    if (printerUsed_) {
        printerUsed_ = false;
        note(printer_.Close(), printer_);
        events_.PrintFile(printer_.Path());
        note(printer_.Remove(), printer_);
    }
    if (fileUsed_) {
        fileUsed_ = false;
        note(file_.Close(), file_);
        const int saved = SaveRecordFile();
        if (first == 0)
            first = saved;
        note(file_.Remove(), file_);
    }
    return first;
}

int RecordFiles::SaveRecordFile()
{
    const std::optional<std::filesystem::path> target = events_.AskFileName(kSaveAsTitle);
    if (!target || target->empty())
        return 0;
    std::error_code ec;
    if (std::filesystem::exists(*target, ec)) {
        const bool replace = events_.AskYesNo(kReplaceTitle, kReplaceText);
        if (!replace)
            return 0;
    }
    // The chosen file is replaced by a safe write: a full disk leaves it as it was.
    std::ifstream in(file_.Path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.eof() && in.fail())
        ec = std::make_error_code(std::errc::io_error);
    else
        ec = WriteFileAtomically(*target, bytes);
    if (ec) {
        const int err = ErrorNumberFor(ec, *target);
        errors_.ReportFileKept("SaveRecordFile", err, target->string());
        return err;
    }
    return 0;
}

void RecordFiles::Write(std::string_view text)
{
    if (text.empty())
        return;
    WriteTo(printer_, text);
    WriteTo(file_, text);
}

void RecordFiles::WriteTo(SideFile& f, std::string_view text)
{
    if (!f.IsOpen())
        return;
    if (const int err = f.Write(text); err != 0) {
        f.Close();
        errors_.Report("ZKFileWrite", err, f.Name());
    }
}

} // namespace kalvor::logging
