// Helpers of the configuration tests: files read and written whole, error
// windows collected, and a set of settings with every value different from
// its default.
#pragma once

#include "FileBytes.h"
#include "ShownErrors.h"
#include "TempHome.h"

#include "config/SettingKeys.h"
#include "config/Settings.h"

#include <string>
#include <vector>

namespace kalvor::test {

// Every setting at a value other than its default (the golden file of the
// settings file test holds exactly these).
inline config::Settings AllSet()
{
    using config::FunctionKeyRecord;
    config::Settings s;
    s.BaudRate = "9600";
    s.CommPort = "COM3";
    s.Handshake = "RTS/CTS";
    s.RespondToEnq = true;
    s.Parity = "Even";
    s.DataBits = "7";
    s.StopBits = "2";
    s.Echo = true;
    s.FontIndex = 3;
    s.SizeIndex = 2;
    s.ColorIndex = 5;
    s.AutoSave = "Yes";
    s.PrintFontHeight = 12;
    s.InverseVideo = true;
    s.ConnectType = 0;
    s.TelnetPort = 2323;
    s.TerminalType = "vt-hp";
    for (int i = 0; i < config::kHostEntries; ++i)
        s.Hosts[static_cast<std::size_t>(i)] = "host" + std::to_string(i + 1) + ".example.com";
    s.NsvtPort = 1600;
    s.NetworkType = 3;
    s.LeftPosition = 120;
    s.TopPosition = -40;
    s.KbEnterKey = 1;
    s.NumEnterKey = 2;
    s.ControlCodeFlag = false;
    s.DisplayWidth = 132;
    s.WindowMaximized = true;
    s.CapsLockMode = true;
    s.Cursor = config::CursorStyle::Underline;
    s.KeyboardLayout = 2;
    for (int i = 0; i < config::kPhoneEntries; ++i)
        s.Phones[static_cast<std::size_t>(i)] = "555-01" + std::string(i < 10 ? "0" : "") + std::to_string(i);
    s.DialOutPrefix = "9,";
    s.Language = "FRENCH";
    s.HostCharSet = "Latin1";
    s.Keys[0] = {FunctionKeyRecord::kLocal, "Logon", "", "HELLO\r"};
    s.Keys[1] = {FunctionKeyRecord::kNormal, "List", "Files", "ls -l\\x"};
    s.Keys[2] = {FunctionKeyRecord::kTransmitOnly, "Exit", "Now", "\x1b&dB bye  "};
    for (int k = 4; k <= 8; ++k)
        s.Keys[static_cast<std::size_t>(k - 1)] = {FunctionKeyRecord::kNormal, "Key" + std::to_string(k), "",
                                                   "k" + std::to_string(k) + "\t"};
    s.SmartReturn = true;
    s.SshUser = "operator";
    s.SshPassword = "s3cret pass";
    return s;
}

// The two settings that are written but not read back take the values of
// `written`, so that a read copy can be compared whole.
inline void ForgetUnread(config::Settings& read, const config::Settings& written)
{
    read.SizeIndex = written.SizeIndex;
    read.AutoSave = written.AutoSave;
}

// The settings that differ from the defaults, each as its line of the
// settings file reads ("Baud Rate = 9600"), in file order.
inline std::vector<std::string> Changes(const config::Settings& s)
{
    std::vector<std::string> out;
    for (int k = 1; k <= config::kKeyCount; ++k)
        if (const std::string v = config::EncodeValue(s, k); v != config::EncodeValue(config::Settings{}, k))
            out.push_back(std::string(config::KeyText(k)) + v);
    return out;
}

} // namespace kalvor::test
