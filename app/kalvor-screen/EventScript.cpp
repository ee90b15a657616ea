#include "EventScript.h"

#include "keyboard/KeyCodes.h"

#include <array>
#include <charconv>
#include <string>

namespace kalvor {
namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    return s;
}

struct NamedKey {
    const char* Name;
    KeyStroke Stroke;
};

constexpr std::array kNamedKeys{
    NamedKey{"Up", {Key::Up}},
    NamedKey{"Down", {Key::Down}},
    NamedKey{"Left", {Key::Left}},
    NamedKey{"Right", {Key::Right}},
    NamedKey{"Home", {Key::Home}},
    NamedKey{"End", {Key::End}},
    NamedKey{"PageUp", {Key::PageUp}},
    NamedKey{"PageDown", {Key::PageDown}},
    NamedKey{"Insert", {Key::Insert}},
    NamedKey{"Delete", {Key::Delete}},
    NamedKey{"Backspace", {Key::Backspace, 8}},
    NamedKey{"Tab", {Key::Tab, 9}},
    NamedKey{"Return", {Key::Return, 13}},
    NamedKey{"Enter", {Key::Return, 13, true}},
    NamedKey{"Esc", {Key::Escape, 27}},
    NamedKey{"ScrollLock", {Key::ScrollLock}},
    NamedKey{"Pause", {Key::Pause}},
};

} // namespace

std::optional<KeyStroke> LookupKeyName(std::string_view name)
{
    for (const NamedKey& k : kNamedKeys)
        if (name == k.Name)
            return k.Stroke;
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
        int n = 0;
        auto [ptr, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), n);
        if (ec == std::errc() && ptr == name.data() + name.size() && n >= 1 && n <= 12)
            return KeyStroke{Key::F1 + n - 1};
    }
    if (name.size() == 1) {
        // A character key: letters and digits carry their own key codes.
        const auto c = static_cast<unsigned char>(name[0]);
        int code = 0;
        if (c >= 'a' && c <= 'z')
            code = c - 'a' + 'A';
        else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ')
            code = c;
        return KeyStroke{code, c};
    }
    return std::nullopt;
}

std::optional<std::string> UnescapeEventText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out.push_back(text[i]);
            continue;
        }
        if (++i >= text.size())
            return std::nullopt;
        switch (text[i]) {
        case 'e': out.push_back('\x1b'); break;
        case 'r': out.push_back('\r'); break;
        case 'n': out.push_back('\n'); break;
        case 't': out.push_back('\t'); break;
        case '\\': out.push_back('\\'); break;
        case 'x': {
            if (i + 2 >= text.size())
                return std::nullopt;
            const int hi = HexValue(text[i + 1]);
            const int lo = HexValue(text[i + 2]);
            if (hi < 0 || lo < 0)
                return std::nullopt;
            out.push_back(static_cast<char>(hi * 16 + lo));
            i += 2;
            break;
        }
        default: return std::nullopt;
        }
    }
    return out;
}

std::optional<ScriptEvent> ParseEventLine(std::string_view line, int lineNumber, std::string& error)
{
    error.clear();
    // Only a trailing CR (a file written with CR LF) is cut from the line:
    // blanks at the end of host text are data.
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#')
        return std::nullopt;
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    const std::size_t space = line.find(' ');
    const std::string_view word = line.substr(0, space);
    const std::string_view arg = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);

    ScriptEvent ev;
    ev.Line = lineNumber;
    if (word == "host" || word == "type" || word == "paste" || word == "replace") {
        ev.Type = word == "host"    ? ScriptEvent::Kind::Host
                  : word == "type"  ? ScriptEvent::Kind::Type
                  : word == "paste" ? ScriptEvent::Kind::Paste
                                    : ScriptEvent::Kind::Replace;
        auto text = UnescapeEventText(arg);
        if (!text) {
            error = "bad escape in text";
            return std::nullopt;
        }
        ev.Text = std::move(*text);
        return ev;
    }
    if (word == "selectall" || word == "copy" || word == "cut" || word == "findagain") {
        ev.Type = word == "selectall" ? ScriptEvent::Kind::SelectAll
                  : word == "copy"    ? ScriptEvent::Kind::Copy
                  : word == "cut"     ? ScriptEvent::Kind::Cut
                                      : ScriptEvent::Kind::FindAgain;
        return ev;
    }
    if (word == "find") {
        // The text runs to the last blank when the line ends in " case".
        ev.Type = ScriptEvent::Kind::Find;
        std::string_view text = arg;
        if (text.size() >= 5 && text.substr(text.size() - 5) == " case") {
            ev.Flag = true;
            text.remove_suffix(5);
        }
        auto unescaped = UnescapeEventText(text);
        if (!unescaped || unescaped->empty()) {
            error = "find needs a text";
            return std::nullopt;
        }
        ev.Text = std::move(*unescaped);
        return ev;
    }
    if (word == "select") {
        ev.Type = ScriptEvent::Kind::Select;
        std::string_view rest = Trim(arg);
        while (!rest.empty()) {
            const std::size_t sp = rest.find(' ');
            const std::string_view tok = rest.substr(0, sp);
            int n = 0;
            auto [ptr, ec] = std::from_chars(tok.data(), tok.data() + tok.size(), n);
            if (tok == "rect" && ev.Cells.size() == 4)
                ev.Flag = true;
            else if (ec != std::errc() || ptr != tok.data() + tok.size() || ev.Cells.size() == 4) {
                error = "select takes R1 C1 R2 C2 [rect]";
                return std::nullopt;
            } else
                ev.Cells.push_back(n);
            rest = sp == std::string_view::npos ? std::string_view() : Trim(rest.substr(sp + 1));
        }
        if (ev.Cells.size() != 4) {
            error = "select takes R1 C1 R2 C2 [rect]";
            return std::nullopt;
        }
        return ev;
    }
    if (word == "wait") {
        ev.Type = ScriptEvent::Kind::Wait;
        const std::string_view n = Trim(arg);
        auto [ptr, ec] = std::from_chars(n.data(), n.data() + n.size(), ev.Milliseconds);
        if (ec != std::errc() || ptr != n.data() + n.size() || ev.Milliseconds < 0) {
            error = "wait takes a number of milliseconds";
            return std::nullopt;
        }
        return ev;
    }
    if (word == "close" && Trim(arg).empty()) {
        ev.Type = ScriptEvent::Kind::Close;
        return ev;
    }
    if (word == "click") {
        ev.Type = ScriptEvent::Kind::Click;
        const std::string_view xy = Trim(arg);
        const char* end = xy.data() + xy.size();
        auto [mid, ec1] = std::from_chars(xy.data(), end, ev.X);
        while (mid != end && *mid == ' ')
            ++mid;
        auto [last, ec2] = std::from_chars(mid, end, ev.Y);
        if (ec1 != std::errc() || ec2 != std::errc() || last != end || mid == xy.data() + xy.size()) {
            error = "click takes window pixels X Y";
            return std::nullopt;
        }
        return ev;
    }
    if (word == "key") {
        ev.Type = ScriptEvent::Kind::Key;
        std::string_view rest = Trim(arg);
        bool first = true;
        while (!rest.empty()) {
            const std::size_t sp = rest.find(' ');
            const std::string_view tok = rest.substr(0, sp);
            if (first)
                ev.Text = std::string(tok);
            else if (tok == "shift" || tok == "ctrl" || tok == "alt")
                ev.Mods.emplace_back(tok);
            else {
                error = "unknown modifier " + std::string(tok);
                return std::nullopt;
            }
            first = false;
            rest = sp == std::string_view::npos ? std::string_view() : Trim(rest.substr(sp + 1));
        }
        if (ev.Text.empty()) {
            error = "key needs a key name";
            return std::nullopt;
        }
        if (!LookupKeyName(ev.Text)) {
            error = "unknown key " + ev.Text;
            return std::nullopt;
        }
        return ev;
    }
    error = "unknown event " + std::string(word);
    return std::nullopt;
}

} // namespace kalvor
