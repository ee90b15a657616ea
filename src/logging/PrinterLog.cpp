#include "logging/PrinterLog.h"

namespace kalvor::logging {

std::string_view CursorLineText(const DisplayMemory& memory)
{
    return memory.Row(memory.Wrap(memory.TopRow + memory.CurRow)).Text;
}

int PrinterLog::TurnOnLogging(int logType)
{
    const int err = file_.Create();
    if (err != 0) {
        mode_ = kOff;
        errors_.Report("TurnOnLogging", err, file_.Name());
        return err;
    }
    mode_ = logType == kBottom ? kBottom : kTop;
    return 0;
}

void PrinterLog::SwitchLogType(int logType)
{
    if (mode_ != kOff)
        mode_ = logType == kBottom ? kBottom : kTop;
}

int PrinterLog::TurnOffLogging(int logType, const DisplayMemory& memory)
{
    int err = 0;
    if (logType == kBottom && file_.IsOpen())
        err = WriteLine(CursorLineText(memory));
    mode_ = kOff;
    if (!file_.IsOpen())
        return err;
    if (const int closed = file_.Close(); closed != 0) {
        errors_.Report("TurnOffLogging", closed, file_.Name());
        return closed;
    }
    events_.PrintFile(file_.Path());
    return err;
}

void PrinterLog::LogDisplayLine(int logType, std::string_view text)
{
    if (mode_ != kOff && mode_ == logType)
        (void)WriteLine(text); // a failure is reported there
}

int PrinterLog::WriteLine(std::string_view text)
{
    if (!file_.IsOpen())
        return 0;
    const int err = file_.WriteLine(text);
    if (err != 0) {
        file_.Close();
        errors_.Report("ZKFileWrite", err, file_.Name());
    }
    return err;
}

} // namespace kalvor::logging
