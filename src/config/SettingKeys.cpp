#include "config/SettingKeys.h"

#include "config/FileText.h"
#include "config/PasswordScramble.h"
#include "engine/ColorSchemes.h"
#include "engine/DisplayMemory.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

namespace kalvor::config {
namespace {

constexpr std::array<std::string_view, kKeyCount> kKeyTexts = {
    "Baud Rate = ",            // 1
    "Communication Port = ",   // 2
    "HandShake Protocol = ",   // 3
    "Respond to ENQ = ",       // 4
    "Parity = ",               // 5
    "Number of Data Bits = ",  // 6
    "Number of Stop Bits = ",  // 7
    "Echo = ",                 // 8
    "Font Index = ",           // 9
    "Size Index = ",           // 10
    "Color Index = ",          // 11
    "AutoSave = ",             // 12
    "PrintFontHeight = ",      // 13
    "InverseVideo = ",         // 14
    "Connect Type = ",         // 15
    "Telnet Port = ",          // 16
    "Telnet Terminal Type = ", // 17
    "TelnetAddr1 = ",          // 18
    "TelnetAddr2 = ",          // 19
    "TelnetAddr3 = ",          // 20
    "TelnetAddr4 = ",          // 21
    "TelnetAddr5 = ",          // 22
    "NSVT port = ",            // 23
    "Network Type = ",         // 24
    "Left Position = ",        // 25
    "Top Position = ",         // 26
    "Keyboard Enter Key = ",   // 27
    "Numpad Enter Key = ",     // 28
    "Control Code Flag = ",    // 29
    "MaxRow = ",               // 30
    "Window Maximized = ",     // 31
    "Caps Lock Mode = ",       // 32
    "Cursor Style = ",         // 33
    "Function Key Layout = ",  // 34
    "TelnetAddr6 = ",          // 35
    "TelnetAddr7 = ",          // 36
    "TelnetAddr8 = ",          // 37
    "TelnetAddr9 = ",          // 38
    "TelnetAddr10 = ",         // 39
    "TelnetAddr11= ",          // 40
    "TelnetAddr12 = ",         // 41
    "TelnetAddr13 = ",         // 42
    "TelnetAddr14 = ",         // 43
    "TelnetAddr15= ",          // 44
    "TelnetAddr16= ",          // 45
    "TelnetAddr17 = ",         // 46
    "TelnetAddr18 = ",         // 47
    "TelnetAddr19 = ",         // 48
    "TelnetAddr20 = ",         // 49
    "TelnetAddr21 = ",         // 50
    "TelnetAddr22 = ",         // 51
    "TelnetAddr23 = ",         // 52
    "TelnetAddr24 = ",         // 53
    "TelnetAddr25 = ",         // 54
    "TelnetAddr26 = ",         // 55
    "TelnetAddr27 = ",         // 56
    "TelnetAddr28 = ",         // 57
    "TelnetAddr29 = ",         // 58
    "TelnetAddr30 = ",         // 59
    "Phone Number1 = ",        // 60
    "Phone Number2 = ",        // 61
    "Phone Number3 = ",        // 62
    "Phone Number4 = ",        // 63
    "Phone Number5 = ",        // 64
    "Phone Number6 = ",        // 65
    "Phone Number7 = ",        // 66
    "Phone Number8 = ",        // 67
    "Phone Number9 = ",        // 68
    "Phone Number10 = ",       // 69
    "Dial-out prefix = ",      // 70
    "Language = ",             // 71
    "Host Character Set = ",   // 72
    "F1 = ",                   // 73
    "F2 = ",                   // 74
    "F3 = ",                   // 75
    "F4 = ",                   // 76
    "F5 = ",                   // 77
    "F6 = ",                   // 78
    "F7 = ",                   // 79
    "F8 = ",                   // 80
    "Max Display Width = ",    // 81
    "Smart Return Mode = ",    // 82
    "SSH User Login = ",       // 83
    "SSH Login Password = ",   // 84
};

// Key index ranges.
constexpr int kFirstHosts = 18, kLastFirstHosts = 22;    // host entries 0..4
constexpr int kFirstMoreHosts = 35, kLastMoreHosts = 59; // host entries 5..29
constexpr int kFirstPhone = 60, kLastPhone = 69;

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

bool HasControl(std::string_view s)
{
    return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 32; });
}

// A text value as it can stand on a key line: control characters would
// break the line, so they are written as spaces.
std::string PlainText(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    return out;
}

// An integer: an optional sign and decimal digits, within the int range.
std::optional<int> ParseInt(std::string_view s)
{
    if (s.size() > 1 && s.front() == '+' && s[1] != '-')
        s.remove_prefix(1);
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return v;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view s) { return !s.empty() && std::all_of(s.begin(), s.end(), IsDigit); }

// An optional sign and decimal digits, of any length.
bool IsDecimal(std::string_view s)
{
    if (!s.empty() && (s.front() == '-' || s.front() == '+'))
        s.remove_prefix(1);
    return AllDigits(s);
}

// A number that may carry decimals ("1440", "-12.5"), rounded to the nearest
// whole number with halves to even.
std::optional<int> ParseNumber(std::string_view s)
{
    const std::size_t dot = s.find('.');
    if (dot == std::string_view::npos)
        return ParseInt(s);
    const std::string_view frac = s.substr(dot + 1);
    if (!AllDigits(frac))
        return std::nullopt;
    std::string_view intPart = s.substr(0, dot);
    bool negative = false;
    if (!intPart.empty() && (intPart.front() == '-' || intPart.front() == '+')) {
        negative = intPart.front() == '-';
        intPart.remove_prefix(1);
    }
    long long whole = 0;
    if (!intPart.empty()) {
        if (!AllDigits(intPart) || intPart.size() > 10)
            return std::nullopt;
        std::from_chars(intPart.data(), intPart.data() + intPart.size(), whole);
    }
    const bool moreThanHalf =
        frac.front() > '5' || (frac.front() == '5' && frac.find_first_not_of('0', 1) != std::string_view::npos);
    const bool half = frac.front() == '5' && !moreThanHalf;
    if (moreThanHalf || (half && whole % 2 == 1))
        ++whole;
    if (negative)
        whole = -whole;
    if (whole < -2147483647LL - 1 || whole > 2147483647LL)
        return std::nullopt;
    return static_cast<int>(whole);
}

// One of two texts (any case) for a boolean.
std::optional<bool> ParseChoice(std::string_view s, std::string_view yes, std::string_view no)
{
    if (EqualNoCase(s, yes))
        return true;
    if (EqualNoCase(s, no))
        return false;
    return std::nullopt;
}

// The position of `s` in `names` (any case), or -1.
template <std::size_t N>
int ParseName(std::string_view s, const std::array<std::string_view, N>& names)
{
    for (std::size_t i = 0; i < N; ++i)
        if (EqualNoCase(s, names[i]))
            return static_cast<int>(i);
    return -1;
}

constexpr std::array<std::string_view, 4> kHandshakes = {"None", "Xon/Xoff", "RTS/CTS", "Xon/RTS"};
constexpr std::array<std::string_view, 3> kLayouts = {"Standard", "Natural", "Natural Elite"};
constexpr std::array<std::string_view, 2> kKbEnter = {"Return", "Enter"};
constexpr std::array<std::string_view, 3> kNumEnter = {"Return", "Enter", "Tab"};

const char* YesNo(bool b) { return b ? "Yes" : "No"; }
const char* TrueFalse(bool b) { return b ? "True" : "False"; }

int HostIndex(int key)
{
    if (key >= kFirstHosts && key <= kLastFirstHosts)
        return key - kFirstHosts;
    if (key >= kFirstMoreHosts && key <= kLastMoreHosts)
        return key - kFirstMoreHosts + 5;
    return -1;
}

} // namespace

std::string_view KeyText(int index)
{
    if (index < 1 || index > kKeyCount)
        return {};
    return kKeyTexts[static_cast<std::size_t>(index - 1)];
}

std::string LineName(std::string_view text)
{
    std::string name(TrimSpaces(text));
    for (char& c : name)
        c = AsciiUpper(c);
    return name;
}

std::string KeyName(int index)
{
    const std::string_view text = KeyText(index);
    return LineName(text.substr(0, text.find('=')));
}

int FindKey(std::string_view upperName)
{
    static const std::array<std::string, kKeyCount> names = [] {
        std::array<std::string, kKeyCount> n;
        for (int i = 1; i <= kKeyCount; ++i)
            n[static_cast<std::size_t>(i - 1)] = KeyName(i);
        return n;
    }();
    for (int i = 0; i < kKeyCount; ++i)
        if (names[static_cast<std::size_t>(i)] == upperName)
            return i + 1;
    return 0;
}

std::optional<Section> SectionByName(std::string_view name)
{
    if (EqualNoCase(name, "NewCommConfig"))
        return Section::Comm;
    if (EqualNoCase(name, "NewFuncKeyConfig"))
        return Section::FuncKey;
    if (EqualNoCase(name, "NewTerminalPref"))
        return Section::TerminalPref;
    if (EqualNoCase(name, "NewPrintConfig"))
        return Section::Print;
    return std::nullopt;
}

bool InSection(int index, Section section)
{
    switch (section) {
    case Section::Comm:
        return (index >= 1 && index <= 8) || (index >= 15 && index <= 24) || (index >= 35 && index <= 70) ||
               index == 83 || index == 84;
    case Section::FuncKey: return index >= kKeyF1 && index <= kKeyF8;
    case Section::TerminalPref:
        return index == 27 || index == 28 || index == 32 || index == 33 || index == 34 || index == 71 || index == 72 ||
               index == 81 || index == 82;
    case Section::Print: return index == 13;
    }
    return false;
}

int WidthFromMaxRow(std::string_view value)
{
    const auto n = ParseInt(value);
    if (n == 599)
        return 200;
    if (n == 899)
        return 132;
    return 80;
}

int MaxRowForWidth(int width)
{
    switch (width) {
    case 200: return 599;
    case 132: return 899;
    default: return DisplayMemory::kDefaultMaxRow;
    }
}

std::string EncodeFunctionKey(const FunctionKeyRecord& key)
{
    std::string out;
    switch (key.Type) {
    case FunctionKeyRecord::kNormal: out = "T"; break;
    case FunctionKeyRecord::kLocal: out = "L"; break;
    default: out = "N"; break;
    }
    const auto field = [&out](std::string_view line) {
        std::string f = PlainText(line.substr(0, kLabelLineLength));
        f.resize(kLabelLineLength, ' ');
        out += f;
    };
    field(key.Line1);
    field(key.Line2);
    const std::size_t lastNonSpace = key.Text.find_last_not_of(' ');
    const std::size_t keepSpaces = lastNonSpace == std::string::npos ? 0 : lastNonSpace + 1;
    for (std::size_t i = 0; i < key.Text.size(); ++i) {
        const auto c = static_cast<unsigned char>(key.Text[i]);
        if (c < 32 || c == '\\' || (c == ' ' && i >= keepSpaces)) {
            char code[5];
            code[0] = '\\';
            code[1] = static_cast<char>('0' + c / 100);
            code[2] = static_cast<char>('0' + c / 10 % 10);
            code[3] = static_cast<char>('0' + c % 10);
            code[4] = '\0';
            out += code;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

std::optional<FunctionKeyRecord> DecodeFunctionKey(std::string_view value)
{
    if (value.empty())
        return std::nullopt;
    FunctionKeyRecord key;
    switch (value.front()) {
    case 'L': key.Type = FunctionKeyRecord::kLocal; break;
    case 'T': key.Type = FunctionKeyRecord::kNormal; break;
    default: key.Type = FunctionKeyRecord::kTransmitOnly; break;
    }
    const auto label = [&value](std::size_t from) {
        std::string_view f = from < value.size() ? value.substr(from, kLabelLineLength) : std::string_view();
        while (!f.empty() && f.back() == ' ')
            f.remove_suffix(1);
        return std::string(f);
    };
    key.Line1 = label(1);
    key.Line2 = label(1 + kLabelLineLength);
    const std::size_t textStart = 1 + 2 * kLabelLineLength;
    const std::string_view text = textStart < value.size() ? value.substr(textStart) : std::string_view();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            key.Text.push_back(text[i]);
            continue;
        }
        if (text.size() - i < 4)
            return std::nullopt;
        int code = 0;
        for (std::size_t d = 1; d <= 3; ++d) {
            const char c = text[i + d];
            if (c < '0' || c > '9')
                return std::nullopt;
            code = code * 10 + (c - '0');
        }
        if (code > 255)
            return std::nullopt;
        key.Text.push_back(static_cast<char>(code));
        i += 3;
    }
    return key;
}

std::string EncodeValue(const Settings& s, int index)
{
    if (const int host = HostIndex(index); host >= 0)
        return PlainText(s.Hosts[static_cast<std::size_t>(host)]);
    if (index >= kFirstPhone && index <= kLastPhone)
        return PlainText(s.Phones[static_cast<std::size_t>(index - kFirstPhone)]);
    if (index >= kKeyF1 && index <= kKeyF8)
        return EncodeFunctionKey(s.Keys[static_cast<std::size_t>(index - kKeyF1)]);
    switch (index) {
    case 1: return PlainText(s.BaudRate);
    case 2: return PlainText(s.CommPort);
    case 3: return PlainText(s.Handshake);
    case 4: return YesNo(s.RespondToEnq);
    case 5: return PlainText(s.Parity);
    case 6: return PlainText(s.DataBits);
    case 7: return PlainText(s.StopBits);
    case 8: return s.Echo ? "On" : "Off";
    case 9: return std::to_string(s.FontIndex);
    case 10: return std::to_string(s.SizeIndex);
    case 11: return std::to_string(s.ColorIndex);
    case 12: return PlainText(s.AutoSave);
    case 13: return std::to_string(s.PrintFontHeight);
    case 14: return s.InverseVideo ? "-1" : "0";
    case 15: return std::to_string(s.ConnectType);
    case 16: return std::to_string(s.TelnetPort);
    case 17: return PlainText(s.TerminalType);
    case 23: return std::to_string(s.NsvtPort);
    case 24: return std::to_string(s.NetworkType);
    case 25: return std::to_string(s.LeftPosition);
    case 26: return std::to_string(s.TopPosition);
    case 27: return s.KbEnterKey == 1 ? "Enter" : "Return";
    case 28: return s.NumEnterKey == 1 ? "Enter" : s.NumEnterKey == 2 ? "Tab" : "Return";
    case 29: return TrueFalse(s.ControlCodeFlag);
    case 30: return std::to_string(MaxRowForWidth(s.DisplayWidth));
    case 31: return YesNo(s.WindowMaximized);
    case 32: return TrueFalse(s.CapsLockMode);
    case 33: return s.Cursor == CursorStyle::Underline ? "Underline" : "Block";
    case 34: {
        const int layout = s.KeyboardLayout >= 0 && s.KeyboardLayout <= 2 ? s.KeyboardLayout : 0;
        return std::string(kLayouts[static_cast<std::size_t>(layout)]);
    }
    case 70: return PlainText(s.DialOutPrefix);
    case 71: return PlainText(s.Language);
    case 72: return s.HostCharSet == "Latin1" ? "ISO Latin-1" : "Roman 8/9";
    case 81: return s.DisplayWidth == 200 ? "200" : s.DisplayWidth == 132 ? "132" : "80";
    case 82: return TrueFalse(s.SmartReturn);
    case 83: return PlainText(s.SshUser);
    case 84: return ScramblePassword(s.SshPassword);
    default: return {};
    }
}

bool DecodeValue(Settings& s, int index, std::string_view v)
{
    // Every value of the file is printable text; a control character means
    // the line is damaged.
    if (HasControl(v))
        return false;
    const auto setText = [&v](std::string& field) {
        field = std::string(v);
        return true;
    };
    const auto setInt = [&v](int& field, int low, int high) {
        const auto n = ParseInt(v);
        if (!n || *n < low || *n > high)
            return false;
        field = *n;
        return true;
    };
    const auto setChoice = [&v](bool& field, std::string_view yes, std::string_view no) {
        const auto b = ParseChoice(v, yes, no);
        if (!b)
            return false;
        field = *b;
        return true;
    };
    constexpr int kMin = -2147483647 - 1;
    constexpr int kMax = 2147483647;

    if (const int host = HostIndex(index); host >= 0)
        return setText(s.Hosts[static_cast<std::size_t>(host)]);
    if (index >= kFirstPhone && index <= kLastPhone) {
        std::string& phone = s.Phones[static_cast<std::size_t>(index - kFirstPhone)];
        if (v == "[direct connect]")
            phone = kDirectConnect;
        else
            phone = std::string(v);
        return true;
    }
    if (index >= kKeyF1 && index <= kKeyF8) {
        auto key = DecodeFunctionKey(v);
        if (!key)
            return false;
        s.Keys[static_cast<std::size_t>(index - kKeyF1)] = std::move(*key);
        return true;
    }
    switch (index) {
    case 1:
        if (!AllDigits(v) || v.size() > 9)
            return false;
        return setText(s.BaudRate);
    case 2: return setText(s.CommPort);
    case 3: {
        const int i = ParseName(v, kHandshakes);
        if (i < 0)
            return false;
        s.Handshake = std::string(kHandshakes[static_cast<std::size_t>(i)]);
        return true;
    }
    case 4: return setChoice(s.RespondToEnq, "Yes", "No");
    case 5:
        if (v.empty())
            return false;
        return setText(s.Parity);
    case 6:
        if (v != "7" && v != "8")
            return false;
        return setText(s.DataBits);
    case 7:
        if (v != "1" && v != "2")
            return false;
        return setText(s.StopBits);
    case 8: return setChoice(s.Echo, "On", "Off");
    case 9: return setInt(s.FontIndex, kMin, kMax);
    case 10: return false; // written, not read back
    case 11: return setInt(s.ColorIndex, 0, kColorSchemeCount - 1);
    case 12: return false; // written, not read back
    case 13: {
        // A height outside 0..25 is read as 9.
        if (!IsDecimal(v))
            return false;
        const auto n = ParseInt(v);
        s.PrintFontHeight = !n || *n < 0 || *n > 25 ? 9 : *n;
        return true;
    }
    case 14: {
        const auto n = ParseInt(v);
        if (!n)
            return false;
        s.InverseVideo = *n != 0;
        return true;
    }
    case 15: return setInt(s.ConnectType, kMin, kMax);
    case 16: return setInt(s.TelnetPort, 1, 65535); // a port of 0 or less is ignored
    case 17:
        if (v.empty())
            return false;
        return setText(s.TerminalType);
    case 23: return setInt(s.NsvtPort, 0, 65535);
    case 24: return setInt(s.NetworkType, 0, 4); // 4: a local program
    case 25:
    case 26: {
        const auto n = ParseNumber(v);
        if (!n)
            return false;
        (index == 25 ? s.LeftPosition : s.TopPosition) = *n;
        return true;
    }
    case 27: {
        const int i = ParseName(v, kKbEnter);
        if (i < 0)
            return false;
        s.KbEnterKey = i;
        return true;
    }
    case 28: {
        const int i = ParseName(v, kNumEnter);
        if (i < 0)
            return false;
        s.NumEnterKey = i;
        return true;
    }
    case 29: return setChoice(s.ControlCodeFlag, "True", "False");
    case 30: s.DisplayWidth = WidthFromMaxRow(v); return true;
    case 31: return setChoice(s.WindowMaximized, "Yes", "No");
    case 32: return setChoice(s.CapsLockMode, "True", "False");
    case 33: {
        bool underline = false;
        if (!setChoice(underline, "Underline", "Block"))
            return false;
        s.Cursor = underline ? CursorStyle::Underline : CursorStyle::Block;
        return true;
    }
    case 34: {
        const int i = ParseName(v, kLayouts);
        if (i < 0)
            return false;
        s.KeyboardLayout = i;
        return true;
    }
    case 70: return setText(s.DialOutPrefix);
    case 71: return setText(s.Language);
    case 72:
        if (EqualNoCase(v, "Roman 8/9") || EqualNoCase(v, "Roman8"))
            s.HostCharSet = "Roman8";
        else if (EqualNoCase(v, "ISO Latin-1") || EqualNoCase(v, "Latin1"))
            s.HostCharSet = "Latin1";
        else
            return false;
        return true;
    case 81: s.DisplayWidth = v == "200" ? 200 : v == "132" ? 132 : 80; return true;
    case 82: return setChoice(s.SmartReturn, "True", "False");
    case 83: return setText(s.SshUser);
    case 84: {
        auto password = Decrypt(v);
        if (!password)
            return false;
        s.SshPassword = std::move(*password);
        return true;
    }
    default: return false;
    }
}

} // namespace kalvor::config
