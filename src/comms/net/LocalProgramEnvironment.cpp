#include "comms/net/LocalProgramEnvironment.h"

#include "comms/net/TerminalDescription.h"

#include <cstring>
#include <fstream>
#include <langinfo.h>
#include <locale.h>
#include <system_error>

extern char** environ;

namespace kalvor::net {
namespace {

bool Named(std::string_view entry, std::string_view name)
{
    return entry.size() > name.size() && entry.substr(0, name.size()) == name && entry[name.size()] == '=';
}

// Entries the terminal replaces or that would contradict it.
bool Replaced(std::string_view entry)
{
    for (const std::string_view name :
         {"TERM", "TERMINFO", "COLUMNS", "LINES", "TERMCAP", "LANG", "INPUTRC", "GROFF_NO_SGR", "LESS"})
        if (Named(entry, name))
            return true;
    return entry.substr(0, 3) == "LC_";
}

bool IsLatin1Locale(const std::string& name)
{
    const locale_t l = ::newlocale(LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(nullptr));
    if (l == static_cast<locale_t>(nullptr))
        return false;
    const bool latin1 = std::strcmp(::nl_langinfo_l(CODESET, l), "ISO-8859-1") == 0;
    ::freelocale(l);
    return latin1;
}

bool Exists(const std::filesystem::path& p)
{
    std::error_code ec;
    return !p.empty() && std::filesystem::is_regular_file(p, ec);
}

} // namespace

std::string EnvironmentValue(const std::vector<std::string>& entries, std::string_view name)
{
    for (const std::string& e : entries)
        if (Named(e, name))
            return e.substr(name.size() + 1);
    return std::string();
}

std::vector<std::string> LocalProgramEnvironment(const std::vector<std::string>& parent,
                                                 const LocalEnvironmentChoice& choice)
{
    std::vector<std::string> env;
    env.reserve(parent.size() + 4);
    for (const std::string& e : parent)
        if (!Replaced(e))
            env.push_back(e);
    env.push_back(std::string("TERM=") + kLocalProgramTerm);
    if (!choice.Terminfo.empty())
        env.push_back("TERMINFO=" + choice.Terminfo.string());
    env.push_back("LANG=" + (choice.Locale.empty() ? std::string("C") : choice.Locale));
    if (!choice.Inputrc.empty())
        env.push_back("INPUTRC=" + choice.Inputrc.string());
    env.emplace_back("GROFF_NO_SGR=1");
    // less -R (man's pager) ends every line with an ANSI reset the terminal
    // would show as text: the user's options, with -R switched off.
    const std::string less = EnvironmentValue(parent, "LESS");
    env.push_back("LESS=" + (less.empty() ? std::string() : less + " ") + "-+R");
    return env;
}

std::string ChooseLocale(bool latin1, std::string_view lang)
{
    if (!latin1)
        return "C";
    // "de_DE.UTF-8@euro" gives "de_DE".
    const std::string base(lang.substr(0, lang.find_first_of(".@")));
    std::vector<std::string> candidates;
    for (const std::string& territory : {base, std::string("en_US")}) {
        if (territory.empty() || territory == "C" || territory == "POSIX")
            continue;
        for (const char* suffix : {".ISO-8859-1", ".iso88591", ""})
            candidates.push_back(territory + suffix);
    }
    for (const std::string& name : candidates)
        if (IsLatin1Locale(name))
            return name;
    return "C";
}

bool WriteInputrc(const std::filesystem::path& path, const std::vector<std::string>& parent)
{
    std::filesystem::path user = EnvironmentValue(parent, "INPUTRC");
    if (!Exists(user)) {
        const std::string home = EnvironmentValue(parent, "HOME");
        user = home.empty() ? std::filesystem::path() : std::filesystem::path(home) / ".inputrc";
    }
    if (!Exists(user))
        user = "/etc/inputrc";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out << "# Written by Kalvor for the local program: the user's readline settings,\n"
           "# then bracketed paste off (the terminal would show its sequences).\n";
    if (Exists(user) && user != path)
        out << "$include " << user.string() << "\n";
    out << "set enable-bracketed-paste off\n";
    return static_cast<bool>(out.flush());
}

std::vector<std::string> ParentEnvironment()
{
    std::vector<std::string> entries;
    for (char** e = environ; e != nullptr && *e != nullptr; ++e)
        entries.emplace_back(*e);
    return entries;
}

LocalEnvironmentChoice ChooseEnvironment(const std::vector<std::string>& parent, bool latin1,
                                         const std::filesystem::path& folder)
{
    LocalEnvironmentChoice choice;
    choice.Latin1 = latin1;
    std::string lang;
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"})
        if (lang = EnvironmentValue(parent, name); !lang.empty())
            break;
    choice.Locale = ChooseLocale(latin1, lang);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    choice.Inputrc = folder / "inputrc";
    if (!WriteInputrc(choice.Inputrc, parent))
        choice.Inputrc.clear();
    choice.Terminfo = folder / "terminfo";
    if (!InstallTerminalDescription(choice.Terminfo))
        choice.Terminfo.clear();
    return choice;
}

} // namespace kalvor::net
