#pragma once
// Where one leg of a request goes, already in wire form.

#include <cstdint>
#include <string>

namespace ql::http {

struct RequestTarget {
    bool secure = false;
    std::string host;   // IPv6 literals keep their brackets
    std::uint16_t port = 80;
    std::string path;   // escaped, starts with '/'
    std::string query;  // escaped, with its leading '?'; may be empty

    // Always names the port; curl leaves a default port out of the Host line.
    std::string url() const;
    bool sameAuthority(const RequestTarget& other) const;
};

struct RequestLeg {
    RequestTarget target;
    std::string verb;
    bool sendBody = false;
};

} // namespace ql::http
