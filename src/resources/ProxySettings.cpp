#include "resources/ProxySettings.h"

#include "base/Text.h"

#include <cstdlib>
#include <string_view>

namespace kalvor::resources {

std::string ProxyHost(const std::string& address)
{
    std::string_view rest = address;
    if (const auto scheme = rest.find("://"); scheme != std::string_view::npos)
        rest.remove_prefix(scheme + 3);
    rest = rest.substr(0, rest.find('/'));
    if (const auto at = rest.rfind('@'); at != std::string_view::npos)
        rest.remove_prefix(at + 1);
    if (!rest.empty() && rest.front() == '[') // [v6 address]:port
        return std::string(rest.substr(1, rest.find(']') - 1));
    return std::string(rest.substr(0, rest.find(':')));
}

namespace {

std::string Variable(const EnvironmentLookup& variable, const char* lower, const char* upper)
{
    for (const char* name : {lower, upper}) {
        if (name == nullptr)
            continue;
        const char* value = variable(name);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return {};
}

bool Overridden(const std::string& noProxy, const std::string& host)
{
    if (host.empty())
        return false;
    const std::string wanted = AsciiUpper(host);
    std::string_view rest = noProxy;
    while (!rest.empty()) {
        const auto cut = rest.find_first_of(",;");
        const std::string_view entry = TrimSpaces(rest.substr(0, cut));
        if (AsciiUpper(entry) == wanted)
            return true;
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
    return false;
}

Proxy MakeProxy(std::string address, const std::string& noProxy)
{
    Proxy p{std::move(address), {}};
    p.Host = ProxyHost(p.Address);
    if (Overridden(noProxy, p.Host))
        p = {};
    return p;
}

} // namespace

ProxySettings ReadProxySettings(const EnvironmentLookup& variable)
{
    ProxySettings s;
    // curl reads only the lower-case http_proxy (a CGI program's HTTP_PROXY
    // comes from a request header); the same rule holds here.
    s.NoProxy = Variable(variable, "no_proxy", "NO_PROXY");
    s.Http = MakeProxy(Variable(variable, "http_proxy", nullptr), s.NoProxy);
    s.Https = MakeProxy(Variable(variable, "https_proxy", "HTTPS_PROXY"), s.NoProxy);
    s.Ftp = MakeProxy(Variable(variable, "ftp_proxy", "FTP_PROXY"), s.NoProxy);
    return s;
}

ProxySettings ProxiesFromEnvironment()
{
    return ReadProxySettings([](const char* name) { return std::getenv(name); });
}

} // namespace kalvor::resources
