// The proxies a download goes through. On this desktop they come from the
// environment: http_proxy, https_proxy and ftp_proxy name the proxy of each
// protocol ("http://host:port/" or "host:port"), no_proxy a list of host
// names separated by "," or ";". Besides naming servers reached directly,
// a no_proxy entry equal to a proxy's own host name (case ignored) turns that
// proxy off.
#pragma once

#include <functional>
#include <string>

namespace kalvor::resources {

struct Proxy {
    std::string Address; // as given, for the transfer; empty: no proxy
    std::string Host;    // the host part of it
};

struct ProxySettings {
    Proxy Http;
    Proxy Https;
    Proxy Ftp;
    std::string NoProxy; // the no_proxy list as given
};

// The host of a proxy address: without the scheme, the log-in, the path and the port.
std::string ProxyHost(const std::string& address);

// Reads the proxies through `variable`, lower-case names first, then
// upper-case ones, and applies the no_proxy rule for the proxies' own hosts.
// ProxiesFromEnvironment reads this process's environment.
using EnvironmentLookup = std::function<const char*(const char*)>;
ProxySettings ReadProxySettings(const EnvironmentLookup& variable);
ProxySettings ProxiesFromEnvironment();

} // namespace kalvor::resources
