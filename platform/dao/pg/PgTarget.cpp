#include "PgTarget.h"

#include <libpq-fe.h>

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Parameters = std::vector<std::pair<std::string, std::string>>;

// The parameters that libpq reads in `target`, in libpq's order, only those that are given;
// false when libpq cannot read it.
bool Parse(const std::string& target, Parameters& parameters) {
    std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)> options(
        PQconninfoParse(target.c_str(), nullptr), &PQconninfoFree);
    if (!options) {
        return false;
    }
    for (const PQconninfoOption* option = options.get(); option->keyword != nullptr; ++option) {
        if (option->val != nullptr) {
            parameters.emplace_back(option->keyword, option->val);
        }
    }
    return true;
}

std::string ValueOf(const Parameters& parameters, const std::string& keyword) {
    for (const auto& [key, value] : parameters) {
        if (key == keyword) {
            return value;
        }
    }
    return {};
}

bool IsUri(const std::string& text) {
    return text.rfind("postgresql://", 0) == 0 || text.rfind("postgres://", 0) == 0;
}

std::string PercentEncoded(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                                (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                                byte == '_' || byte == '~';
        if (unreserved) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0xF];
        }
    }
    return encoded;
}

// A host that a URI's authority can hold as it is: one name or IPv4 address, not a socket
// folder, a list or an IPv6 address.
bool IsPlainHost(const std::string& host) {
    return !host.empty() && host.find_first_of("/,:%[]@") == std::string::npos;
}

bool IsPlainPort(const std::string& port) {
    return !port.empty() && port.find_first_not_of("0123456789") == std::string::npos;
}

// What the text of an unreadable URI shows without risk: scheme, host and path.
std::string WithoutUserInfoAndQuery(const std::string& uri) {
    const std::size_t authority = uri.find("://") + 3;
    std::string rest = uri.substr(authority);
    rest = rest.substr(0, rest.find('?'));
    const std::size_t pathStart = rest.find('/');
    const std::size_t at = rest.rfind('@', pathStart);
    if (at != std::string::npos && (pathStart == std::string::npos || at < pathStart)) {
        rest = rest.substr(at + 1);
    }
    return uri.substr(0, authority) + rest;
}

}  // namespace

namespace PgTarget {

bool IsServer(const std::string& target) {
    if (IsUri(target)) {
        return true;
    }
    // Only libpq's own keywords parse: a file name, even one with "=" in it, does not.
    Parameters parameters;
    return target.find('=') != std::string::npos && Parse(target, parameters);
}

bool HoldsPassword(const std::string& target) {
    Parameters parameters;
    return Parse(target, parameters) && !ValueOf(parameters, "password").empty();
}

std::string WithoutPassword(const std::string& target) {
    Parameters parameters;
    if (!Parse(target, parameters)) {
        return IsUri(target) ? WithoutUserInfoAndQuery(target) : std::string();
    }
    const std::string host = ValueOf(parameters, "host");
    const std::string port = ValueOf(parameters, "port");
    const bool hostInAuthority = IsPlainHost(host);
    const bool portInAuthority = hostInAuthority && IsPlainPort(port);
    std::string uri = "postgresql://";
    if (const std::string user = ValueOf(parameters, "user"); !user.empty()) {
        uri += PercentEncoded(user) + "@";
    }
    if (hostInAuthority) {
        uri += host;
    }
    if (portInAuthority) {
        uri += ":" + port;
    }
    uri += "/" + PercentEncoded(ValueOf(parameters, "dbname"));
    char separator = '?';
    for (const auto& [key, value] : parameters) {
        const bool inPlace = key == "user" || key == "dbname" ||
                             (key == "host" && hostInAuthority) ||
                             (key == "port" && portInAuthority);
        if (key == "password" || inPlace || value.empty()) {
            continue;
        }
        uri += separator + PercentEncoded(key) + "=" + PercentEncoded(value);
        separator = '&';
    }
    return uri;
}

std::string ServerName(const std::string& target, std::string* user) {
    Parameters parameters;
    if (!Parse(target, parameters)) {
        return IsUri(target) ? WithoutUserInfoAndQuery(target) : target;
    }
    if (user != nullptr) {
        *user = ValueOf(parameters, "user");
    }
    const std::string host = ValueOf(parameters, "host");
    const std::string port = ValueOf(parameters, "port");
    const std::string database = ValueOf(parameters, "dbname");
    const std::string service = ValueOf(parameters, "service");
    if (host.empty() && !service.empty()) {
        return service;
    }
    std::string name = host.empty() || host.front() == '/' ? "localhost" : host;
    if (!port.empty()) {
        name += ":" + port;
    }
    return database.empty() ? name : name + "/" + database;
}

std::string UserName(const std::string& target) {
    Parameters parameters;
    if (Parse(target, parameters)) {
        if (std::string user = ValueOf(parameters, "user"); !user.empty()) {
            return user;
        }
    }
    std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)> defaults(PQconndefaults(),
                                                                          &PQconninfoFree);
    for (const PQconninfoOption* option = defaults.get(); option && option->keyword != nullptr;
         ++option) {
        if (std::string_view(option->keyword) == "user" && option->val != nullptr) {
            return option->val;
        }
    }
    return {};
}

}  // namespace PgTarget
