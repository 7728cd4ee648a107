#pragma once
// The cookies one request collects along its redirect chain, so that a
// cookie set by a redirect reaches the next request to its host, as
// WinHTTP's session cookie cache does. It lives only as long as the request.

#include <string>
#include <string_view>
#include <vector>

namespace ql::http {

class RedirectCookieJar {
public:
    // Stores the cookies of a response's Set-Cookie values. requestPath is
    // the path the response answered (without the query).
    void store(const std::vector<std::string>& setCookieValues, std::string_view host,
               std::string_view requestPath);
    // "name=value; name2=value2" for a request, or empty.
    std::string cookiesFor(std::string_view host, std::string_view path, bool secure) const;

private:
    struct Cookie {
        std::string name;
        std::string value;
        std::string domain; // lower case, without a leading '.'
        bool hostOnly = true;
        std::string path;
        bool secureOnly = false;
    };

    void storeOne(std::string_view setCookie, std::string_view host, std::string_view requestPath);

    std::vector<Cookie> cookies_;
};

} // namespace ql::http
