#include "ScreenOptions.h"

#include <algorithm>
#include <charconv>

namespace kalvor {

const char* const kScreenUsage =
    "usage: kalvor-screen [OPTIONS] [FILE...]\n"
    "Feeds each FILE (standard input when none, or for \"-\") to the terminal as host\n"
    "output and prints the final screen.\n"
    "  --cols N            screen width: 80, 132 or 200 (others as ESC & w: 200)\n"
    "  --rows N            screen rows, 1..100\n"
    "  --charset NAME      host character set: roman8 (default) or latin1\n"
    "  --format FORMAT     text (default) or json\n"
    "  --memory            print every row of display memory, oldest first\n"
    "  --replies FILE      run connected in remote mode; write all transmitted bytes to FILE\n"
    "  --serial            with --replies or --script: the connection is a serial line\n"
    "  --events FILE       read a script of host data, clock steps and keys\n"
    "  --script FILE       run the log-on script FILE against the input (runs connected;\n"
    "                      its state is reported in the JSON member \"script\")\n"
    "  --quiet             print nothing\n"
    "  --help              this text\n"
    "  --version           the program's version\n";

namespace {

bool ParseInt(const std::string& text, int& value)
{
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

} // namespace

std::optional<ScreenOptions> ParseScreenOptions(const std::vector<std::string>& args, std::string& error)
{
    ScreenOptions o;
    auto need = [&](std::size_t& i, const std::string& name) -> const std::string* {
        if (i + 1 >= args.size()) {
            error = name + " needs a value";
            return nullptr;
        }
        return &args[++i];
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--cols" || a == "--rows") {
            const std::string* v = need(i, a);
            int n = 0;
            if (v == nullptr)
                return std::nullopt;
            if (!ParseInt(*v, n)) {
                error = a + " takes a number";
                return std::nullopt;
            }
            if (a == "--cols")
                o.Cols = n == 80 ? 80 : n == 132 ? 132 : 200;
            else
                o.Rows = std::clamp(n, 1, 100);
        } else if (a == "--charset") {
            const std::string* v = need(i, a);
            if (v == nullptr)
                return std::nullopt;
            if (*v == "roman8")
                o.Roman8 = true;
            else if (*v == "latin1")
                o.Roman8 = false;
            else {
                error = "--charset takes roman8 or latin1";
                return std::nullopt;
            }
        } else if (a == "--format") {
            const std::string* v = need(i, a);
            if (v == nullptr)
                return std::nullopt;
            if (*v == "text")
                o.OutputFormat = ScreenOptions::Format::Text;
            else if (*v == "json")
                o.OutputFormat = ScreenOptions::Format::Json;
            else {
                error = "--format takes text or json";
                return std::nullopt;
            }
        } else if (a == "--memory") {
            o.Memory = true;
        } else if (a == "--replies") {
            const std::string* v = need(i, a);
            if (v == nullptr)
                return std::nullopt;
            o.RepliesFile = *v;
        } else if (a == "--serial") {
            o.Serial = true;
        } else if (a == "--events") {
            const std::string* v = need(i, a);
            if (v == nullptr)
                return std::nullopt;
            o.EventsFile = *v;
        } else if (a == "--script") {
            const std::string* v = need(i, a);
            if (v == nullptr)
                return std::nullopt;
            o.ScriptFile = *v;
        } else if (a == "--quiet") {
            o.Quiet = true;
        } else if (a == "--") {
            o.Files.insert(o.Files.end(), args.begin() + static_cast<long>(i) + 1, args.end());
            break;
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            error = "unknown option " + a;
            return std::nullopt;
        } else {
            o.Files.push_back(a);
        }
    }
    if (o.Serial && o.RepliesFile.empty() && o.ScriptFile.empty()) {
        error = "--serial needs --replies or --script";
        return std::nullopt;
    }
    if (!o.EventsFile.empty() && !o.Files.empty()) {
        error = "--events takes no FILE arguments";
        return std::nullopt;
    }
    return o;
}

} // namespace kalvor
