#include "logging/ErrorReport.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iterator>

namespace kalvor::logging {
namespace {

struct TableEntry {
    int Number;
    std::string_view Message;
};

// Sorted by number.
constexpr TableEntry kTable[] = {
    {6, "Overflow error."},
    {7, "Out of memory."},
    {9, "Subscript out of range."},
    {11, "Cannot divide by zero."},
    {14, "Out of string space."},
    {28, "Out of stack space."},
    {52, "Bad file number."},
    {53, "File not found."},
    {54, "File cannot be used in current mode."},
    {55, "File already open."},
    {57, "Device I/O Error."},
    {58, "File already exists."},
    {59, "Bad file record length."},
    {61, "Disk is full."},
    {62, "Attempt to read past the end of the file."},
    {63, "Bad file record number."},
    {64, "Bad file name or number."},
    {67, "Attempting to open too many files."},
    {68, "Device is not available."},
    {70, "Cannot open file; permission denied."},
    {71, "Disk is not ready."},
    {74, "Cannot rename with different drive."},
    {75, "Cannot access path or file."},
    {76, "Path not found."},
    {460, "Clipboard format is invalid."},
    {482, "Printer error."},
    {520, "Cannot empty the clipboard."},
    {521, "Cannot open the clipboard."},
    {5994, "A configuration file could not be read whole."},
    {5995, "The configuration file name is too long.  The name, including the path designation cannot be longer "
           "than 60 characters."},
    {5996, "Kalvor.ini file is corrupted.  Please re-install Kalvor."},
    {5997, "Kalvor.ini file was not found.  Please re-install Kalvor."},
    {5998, "The Kalvor screen fonts are not installed.  Please follow the installation instructions in the "
           "README file that comes with Kalvor.  The most common cause is an installation outside the root of "
           "drive C."},
    {5999, "Too many Tavlex objects defined."},
    {8000, "Operation not valid while the port is opened."},
    {8001, "Time out value must be greater than zero."},
    {8002, "Invalid port number."},
    {8003, "Property available only at run time."},
    {8004, "Property is read-only at run time."},
    {8005, "Port already open."},
    {8006, "The device identifier is invalid or upsupported."},
    {8007, "The device baud rate is unsupported."},
    {8008, "The specified byte size is invalid."},
    {8010, "The hardware is not available.  It is locked by another device."},
    {8011, "The function cannot allocate the queues."},
    {8012, "The device is not open."},
    {8013, "The device is already open."},
    {8014, "Could not enable comm notification."},
    {8015, "Could not set comm state."},
    {8016, "Could not set comm event mask."},
    {8018, "Operation valid only when the port is open."},
    {8019, "Device busy."},
    {8020, "Error reading comm device."},
    {8021, "Internal error retrieving device control block for port."},
};

// A missing entry is a missing folder on the way when the parent of the
// path does not exist either.
bool ParentMissing(const std::filesystem::path& path)
{
    if (path.empty() || !path.has_parent_path())
        return false;
    std::error_code ec;
    return !std::filesystem::exists(path.parent_path(), ec);
}

} // namespace

std::optional<std::string_view> TableMessage(int number)
{
    const auto* it = std::lower_bound(std::begin(kTable), std::end(kTable), number,
                                      [](const TableEntry& e, int n) { return e.Number < n; });
    if (it == std::end(kTable) || it->Number != number)
        return std::nullopt;
    return it->Message;
}

std::string ErrorMessage(int number)
{
    if (const auto message = TableMessage(number))
        return std::string(*message);
    return std::generic_category().message(number);
}

std::string DetailLine(int number, std::string_view location, std::string_view fileName)
{
    std::string line = "[ " + std::to_string(number) + ":   ";
    line.append(location);
    if (!fileName.empty()) {
        line.append(",  ");
        line.append(fileName);
    }
    line.append(" ]");
    return line;
}

ErrorWindow MakeErrorWindow(int number, std::string_view location, std::string_view fileName)
{
    ErrorWindow w;
    w.Title = std::string(kErrorTitle);
    w.Message = ErrorMessage(number);
    w.Detail = DetailLine(number, location, fileName);
    w.Number = number;
    w.Location = std::string(location);
    w.FileName = std::string(fileName);
    return w;
}

ErrorWindow MakeErrorWindow(std::error_code ec, std::string_view location, std::string_view fileName,
                            const std::filesystem::path& path)
{
    const int table = TableNumberFor(ec, path);
    if (table != 0)
        return MakeErrorWindow(table, location, fileName);
    ErrorWindow w = MakeErrorWindow(ec.value(), location, fileName);
    w.Message = ec.message();
    return w;
}

int TableNumberFor(std::error_code ec, const std::filesystem::path& path)
{
    if (!ec)
        return 0;
    const std::error_condition c = ec.default_error_condition();
    if (c.category() != std::generic_category())
        return 0;
    switch (static_cast<std::errc>(c.value())) {
    case std::errc::no_such_file_or_directory: return ParentMissing(path) ? kErrPathNotFound : kErrFileNotFound;
    case std::errc::not_a_directory: return kErrPathNotFound;
    case std::errc::permission_denied:
    case std::errc::operation_not_permitted: return kErrPermissionDenied;
    // A read-only file system keeps the system's own words: "permission
    // denied" would send the user looking at the file's owner.
    case std::errc::read_only_file_system: return 0;
    case std::errc::no_space_on_device:
    case std::errc::file_too_large: return kErrDiskFull;
    case std::errc::io_error: return kErrDeviceIo;
    case std::errc::file_exists: return 58;
    case std::errc::too_many_files_open:
    case std::errc::too_many_files_open_in_system: return 67;
    case std::errc::filename_too_long:
    case std::errc::invalid_argument:
    case std::errc::illegal_byte_sequence: return kErrBadFileName;
    case std::errc::not_enough_memory: return 7;
    case std::errc::is_a_directory:
    case std::errc::device_or_resource_busy:
    case std::errc::text_file_busy:
    case std::errc::too_many_symbolic_link_levels: return kErrPathFileAccess;
    case std::errc::no_such_device:
    case std::errc::no_such_device_or_address: return 68;
    case std::errc::cross_device_link: return 74;
    case std::errc::bad_file_descriptor: return 52;
    default: break;
    }
#ifdef EDQUOT
    if (c.value() == EDQUOT)
        return kErrDiskFull;
#endif
    return 0;
}

int ErrorNumberFor(std::error_code ec, const std::filesystem::path& path)
{
    if (!ec)
        return 0;
    const int table = TableNumberFor(ec, path);
    return table != 0 ? table : ec.value();
}

int ErrorNumberForErrno(int errnoValue, const std::filesystem::path& path)
{
    if (errnoValue == 0)
        return kErrDeviceIo; // a failure without a reason given
    return ErrorNumberFor(std::error_code(errnoValue, std::generic_category()), path);
}

void ErrorReport::Report(std::string_view location, int number, std::string_view fileName)
{
    Show(MakeErrorWindow(number, location, fileName));
}

void ErrorReport::Report(std::string_view location, std::error_code ec, std::string_view fileName,
                         const std::filesystem::path& path)
{
    Show(MakeErrorWindow(ec, location, fileName, path));
}

void ErrorReport::ReportFileKept(std::string_view location, int number, std::string_view fileName,
                                 std::string_view keptFile)
{
    ReportWithNote(location, number, fileName,
                   "Nothing was changed in " + std::string(keptFile.empty() ? fileName : keptFile) + ".");
}

void ErrorReport::ReportWithNote(std::string_view location, int number, std::string_view fileName, std::string note)
{
    ErrorWindow w = MakeErrorWindow(number, location, fileName);
    w.Note = std::move(note);
    Show(std::move(w));
}

void ErrorReport::ReportToLog(std::string_view location, int number, std::string_view fileName)
{
    ErrorWindow w = MakeErrorWindow(number, location, fileName);
    last_ = w;
    ++count_;
    if (debugLog_ != nullptr && debugLog_->Tracing())
        debugLog_->LogTrace("Error:", w.Detail + " " + w.Message);
}

void ErrorReport::Show(ErrorWindow window)
{
    last_ = window;
    ++count_;
    if (display_ != nullptr)
        display_->ShowWindow(window);
    else
        PrintErrorWindow(window);
}

void PrintErrorWindow(const ErrorWindow& window)
{
    std::fprintf(stderr, "%s: %s %s %s\n", window.Title.c_str(), window.Message.c_str(), window.Detail.c_str(),
                 window.Note.c_str());
}

} // namespace kalvor::logging
