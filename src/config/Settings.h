// Every user setting the configuration file holds (communication, terminal
// preferences, the eight user function keys, printing), with the values a
// terminal starts from before any file is read. A plain record: the file
// reader and writer (SettingsFile.h) translate it to and from the 84 key
// lines, SessionSettings.h applies it to a terminal session and collects it
// back.
#pragma once

#include <array>
#include <string>

namespace kalvor::config {

inline constexpr int kHostEntries = 30;
inline constexpr int kPhoneEntries = 10;
inline constexpr int kUserKeys = 8;
inline constexpr int kLabelLineLength = 8;

// The phone entry that means "no dialling".
inline constexpr const char* kDirectConnect = "no modem/direct connect to host";

// One user function key: its attribute (0 normal, 1 local, 2 transmit
// only), two label lines of up to 8 characters, and the string it sends.
struct FunctionKeyRecord {
    static constexpr int kNormal = 0;
    static constexpr int kLocal = 1;
    static constexpr int kTransmitOnly = 2;

    int Type = kTransmitOnly;
    std::string Line1;
    std::string Line2;
    std::string Text;

    bool operator==(const FunctionKeyRecord&) const = default;
};

// The default of user key 0..7: "   f1" .. "   f8", ESC "p" .. ESC "w",
// transmit only.
FunctionKeyRecord DefaultFunctionKey(int key);

enum class CursorStyle : int { Underline = 1, Block = 2 };

struct Settings {
    Settings();

    // Communication (keys 1..8, 15..24, 35..70, 83, 84).
    std::string BaudRate = "19200";
    std::string CommPort = "Com 1";
    std::string Handshake = "Xon/Xoff"; // "None", "Xon/Xoff", "RTS/CTS", "Xon/RTS"
    bool RespondToEnq = false;
    std::string Parity = "None";
    std::string DataBits = "8"; // "7" or "8"
    std::string StopBits = "1"; // "1" or "2"
    bool Echo = false;
    int ConnectType = 1; // 0 serial, other network
    int TelnetPort = 23; // default network port
    std::string TerminalType = "hp";
    // Entry 0 is the current host; a new configuration starts on the
    // demonstration host, kalvor-demohost.
    std::array<std::string, kHostEntries> Hosts{"localhost:2323 [demonstration host]"};
    int NsvtPort = 1570;                             // second network port setting
    int NetworkType = 1;                             // 0..4: Telnet standard, advanced, SSH 1, SSH 2, local program
    std::array<std::string, kPhoneEntries> Phones{}; // entry 0 is the current number
    std::string DialOutPrefix;
    std::string SshUser;
    std::string SshPassword; // plain; scrambled in the file

    // Window and display (keys 9..12, 14, 25, 26, 31).
    int FontIndex = 1;
    int SizeIndex = 0;           // written, not read back
    int ColorIndex = 0;          // colour scheme 0..12
    std::string AutoSave = "No"; // written, not read back
    bool InverseVideo = false;
    int LeftPosition = 0;
    int TopPosition = 0;
    bool WindowMaximized = false;

    // Terminal preferences (keys 27, 28, 32..34, 71, 72, 81, 82, and 29, 30).
    int KbEnterKey = 0;          // main Enter key: 1 Enter, 0 Return
    int NumEnterKey = 1;         // keypad Enter key: 1 Enter, 2 Tab, 0 Return
    bool ControlCodeFlag = true; // control codes transmitted (true) or processed locally
    int DisplayWidth = 80;       // 80, 132 or 200
    bool CapsLockMode = false;
    CursorStyle Cursor = CursorStyle::Block;
    int KeyboardLayout = 0; // 0 Standard, 1 Natural, 2 Natural Elite
    std::string Language = "English";
    std::string HostCharSet = "Roman8"; // "Roman8" or "Latin1"
    bool SmartReturn = false;

    // User function keys (keys 73..80).
    std::array<FunctionKeyRecord, kUserKeys> Keys;

    // Printing (key 13).
    int PrintFontHeight = 9;

    bool operator==(const Settings&) const = default;
};

} // namespace kalvor::config
