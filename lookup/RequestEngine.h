#pragma once
// The seam between the lookup and the HTTP client: anything that answers a
// request the way ql::http::httpRequest does. Tests hand in fakes.

#include "http/HttpRequest.h"

#include <functional>

namespace ql::lookup {

using RequestEngine = std::function<Text(const Text& url, const http::HttpRequestArgs& args)>;

// The real engine, ql::http::httpRequest over the network.
RequestEngine networkRequestEngine();

} // namespace ql::lookup
