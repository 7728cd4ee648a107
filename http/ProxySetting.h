#pragma once
// WinHTTP's named-proxy list: entries separated by ';' or blanks, each
// "scheme=host:port" (serves that scheme only) or "host:port" (serves every
// scheme).

#include <string>
#include <string_view>

namespace ql::http {

// The curl proxy URL ("http://host:port") for a request of that kind, or
// empty when no entry serves it.
std::string proxyUrlFor(std::string_view proxyList, bool secure);

} // namespace ql::http
