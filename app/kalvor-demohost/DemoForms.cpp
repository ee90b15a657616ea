#include "DemoForms.h"

#include "DemoForm.h"
#include "DemoPicture.h"
#include "VisibleBytes.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace kalvor::demohost {
namespace {

const std::string kStartForm = "\x1b%k0F";
const std::string kEndForm = "\x1b%kC";
const std::string kCloseForms = "\x1b%kR";
constexpr char kDc1 = '\x11';

const std::string kItemsCountry = "|Norway|Sweden|Denmark|Finland|Iceland|";
const std::string kItemsInterests = "|Terminals|Forms|Networks|Pictures|Music|";
const char* const kSizes[] = {"small", "medium", "large"};
const char* const kColours[] = {"red", "orange", "yellow", "green", "blue"};
constexpr int kColourLeft = 140, kColourWidth = 36; // the colour map's squares, form units

std::string Cmd(const std::string& name, const std::string& value) { return name + ":" + value + "\r"; }

// The status field shows 46 characters; a longer message is cut there.
std::string Status(std::string text)
{
    constexpr std::size_t kStatusChars = 46;
    text.resize(std::min(text.size(), kStatusChars));
    return Cmd("STATUS", text);
}

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

void ReplaceAll(std::string& text, std::string_view what, std::string_view with)
{
    for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += with.size())
        text.replace(at, what.size(), with);
}

// The chosen items of a pick-list line's value ("|a|b|*|b|"), comma-separated.
std::string Chosen(const std::string& value)
{
    const std::size_t star = value.find("|*|");
    std::string out;
    std::size_t at = star == std::string::npos ? value.size() : star + 3;
    while (at < value.size()) {
        const std::size_t bar = std::min(value.find('|', at), value.size());
        if (bar > at)
            out += (out.empty() ? "" : ", ") + value.substr(at, bar - at);
        at = bar + 1;
    }
    return out;
}

// The lines of an entry box's value: bars not after a backslash part them.
int EntryLines(const std::string& value)
{
    int lines = value.empty() ? 0 : 1;
    for (std::size_t i = 0; i < value.size(); ++i)
        lines += value[i] == '|' && (i == 0 || value[i - 1] != '\\');
    return lines;
}

} // namespace

std::string DemoFormText(int picturePort)
{
    std::string text = kDemoFormTemplate;
    ReplaceAll(text, "@PICTUREPORT@", std::to_string(picturePort));
    ReplaceAll(text, "@PICTURE@", kDemoPictureName);
    ReplaceAll(text, "\n", "\r\n");
    return text;
}

std::string FormsDemo::Start(int picturePort)
{
    heard_.clear();
    known_.clear();
    std::string s = kStartForm + DemoFormText(picturePort) + kEndForm;
    s += Values({{"COUNTRY", kItemsCountry + "*|Norway|"},
                 {"INTERESTS", kItemsInterests + "*|Forms|Pictures|"},
                 {"NEWS", "True"},
                 {"SIZE", "2"},
                 {"STATUS", "Welcome. F1 says what the host does."}});
    s += Shown() + Cmd("GOTO", "NAME") + kDc1 + "\r";
    return s;
}

// Host command lines for `values`, remembered as the form's values.
std::string FormsDemo::Values(const std::map<std::string, std::string>& values)
{
    std::string s;
    for (const auto& [name, value] : values) {
        known_[name] = value;
        s += Cmd(name, value);
    }
    return s;
}

std::string FormsDemo::Shown() const
{
    std::string s;
    for (std::size_t i = 0; i < kShownLines; ++i)
        s += Cmd("RECEIVED" + std::to_string(i + 1), i < heard_.size() ? heard_[i] : std::string());
    return s;
}

// The Check button and F4: a name and the terms are required.
std::string FormsDemo::Check()
{
    if (known_["NAME"].empty())
        return Cmd("ONERROR", "No name has arrived yet: type one and press Tab.") + Cmd("GOTO", "NAME");
    if (Upper(known_["TERMS"]).rfind('T', 0) != 0)
        return Cmd("ONERROR", "Please accept the terms first.") + Cmd("GOTO", "TERMS");
    return Status("Complete. Thank you, " + known_["NAME"] + ".");
}

FormsDemo::Reply FormsDemo::Line(const std::string& line)
{
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0)
        return {kCloseForms, true};
    heard_.push_back(Visible(line).substr(0, kShownLineChars));
    while (heard_.size() > kShownLines)
        heard_.pop_front();

    const std::string word = Upper(line.substr(0, colon));
    const std::string value = line.substr(colon + 1);
    std::string s;
    if (word == "EXIT")
        return {kCloseForms, true};
    if (word == "HELP") {
        s = Status("Tab sends a field; F2 fills, F4 checks.");
    } else if (word == "SAMPLE") {
        s = Values({{"NAME", "Ada Lovelace"},
                    {"ADDRESS", "12 St James's Square|London SW1"},
                    {"COUNTRY", kItemsCountry + "*|Iceland|"},
                    {"INTERESTS", kItemsInterests + "*|Terminals|Music|"},
                    {"NEWS", "False"},
                    {"TERMS", "True"},
                    {"SIZE", "3"},
                    {"COLOUR", "Blue"},
                    {"STATUS", "The host filled in a sample."}});
        s += Cmd("GOTO", "CHECK");
    } else if (word == "CLEAR") {
        s = Values({{"NAME", ""},
                    {"ADDRESS", ""},
                    {"COUNTRY", kItemsCountry},
                    {"INTERESTS", kItemsInterests},
                    {"NEWS", "False"},
                    {"TERMS", "False"},
                    {"SIZE", "1"},
                    {"COLOUR", ""},
                    {"STATUS", "The host cleared the form."}});
        s += Cmd("GOTO", "NAME");
    } else if (word == "CHECK") {
        s = Check();
    } else {
        known_[word] = value;
        if (word == "NAME") {
            s = Status(value.empty() ? "The name is empty now." : "Hello, " + value + ".");
        } else if (word == "ADDRESS") {
            s = Status("An address of " + std::to_string(EntryLines(value)) + " line(s) arrived.");
        } else if (word == "COUNTRY" || word == "INTERESTS") {
            const std::string chosen = Chosen(value);
            s = Status((word == "COUNTRY" ? "Country: " : "Interests: ") + (chosen.empty() ? "none" : chosen));
        } else if (word == "NEWS" || word == "TERMS") {
            const bool on = Upper(value).rfind('T', 0) == 0;
            s = Status(word == "NEWS" ? (on ? "News will come by post." : "No news by post.")
                                      : (on ? "Terms accepted." : "Terms not accepted."));
        } else if (word == "SIZE") {
            const int index = std::atoi(value.c_str());
            s = Status(index >= 1 && index <= 3 ? std::string("Size: ") + kSizes[index - 1] : "Size: ?");
        } else if (word == "COLOURS") {
            // "x|y" in window pixels; the squares are 36 units apart at scale 1.
            const int x = std::atoi(value.c_str());
            const int square = std::clamp((x - kColourLeft) / kColourWidth, 0, 4);
            const std::string colour = kColours[square];
            s = Values({{"COLOUR", "You clicked " + colour + "."}});
            s += Status("Map clicked at " + value + ": " + colour + ".");
        } else {
            s = Status("The host has no use for " + word + ".");
        }
    }
    return {s + Shown() + kDc1 + "\r", false};
}

} // namespace kalvor::demohost
