#include "CaseFile.h"

#include "EventScript.h"

#include <fstream>

namespace kalvor::test {

bool SplitArgs(const std::string& text, std::vector<std::string>& out)
{
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
            continue;
        }
        if (text[i] == '"') {
            std::size_t j = i + 1;
            while (j < text.size() && text[j] != '"') {
                if (text[j] == '\\')
                    ++j;
                ++j;
            }
            if (j >= text.size())
                return false;
            auto unescaped = UnescapeEventText(std::string_view(text).substr(i + 1, j - i - 1));
            if (!unescaped)
                return false;
            out.push_back(*unescaped);
            i = j + 1;
        } else {
            std::size_t j = text.find_first_of(" \t", i);
            if (j == std::string::npos)
                j = text.size();
            out.push_back(text.substr(i, j - i));
            i = j;
        }
    }
    return true;
}

std::vector<ScreenCase> LoadCaseFile(const std::string& path, std::string& error)
{
    std::vector<ScreenCase> cases;
    std::vector<std::string> fileArgs;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return cases;
    }
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& why) {
        error = path + ":" + std::to_string(number) + ": " + why;
        cases.clear();
        return cases;
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (line.rfind("case ", 0) == 0) {
            ScreenCase c;
            c.File = path;
            c.Name = line.substr(5);
            c.Line = number;
            c.Args = fileArgs;
            cases.push_back(std::move(c));
            continue;
        }
        if (line.rfind("args ", 0) == 0) {
            std::vector<std::string>& target = cases.empty() ? fileArgs : cases.back().Args;
            if (!SplitArgs(line.substr(5), target))
                return fail("bad args");
            continue;
        }
        if (cases.empty())
            return fail("expected \"case NAME\" first");
        ScreenCase& c = cases.back();
        if (line[0] == '|') {
            if (c.Expect.empty() || c.Expect.back().Kind != "screen")
                return fail("\"|\" row outside \"? screen\"");
            auto text = UnescapeEventText(std::string_view(line).substr(1));
            if (!text)
                return fail("bad escape");
            c.Expect.back().ScreenRows.push_back(*text);
            continue;
        }
        if (line.rfind("script ", 0) == 0) {
            auto text = UnescapeEventText(std::string_view(line).substr(7));
            if (!text)
                return fail("bad escape");
            c.Script.push_back(*text);
            continue;
        }
        if (line.rfind("? ", 0) == 0) {
            Expectation e;
            e.Line = number;
            std::vector<std::string> words;
            if (!SplitArgs(line.substr(2), words) || words.empty())
                return fail("bad expectation");
            e.Kind = words[0];
            e.EventsBefore = c.Events.size();
            e.Args.assign(words.begin() + 1, words.end());
            c.Expect.push_back(std::move(e));
            continue;
        }
        c.Events.push_back(line);
    }
    return cases;
}

} // namespace kalvor::test
