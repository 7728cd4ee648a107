#pragma once
// The redirect rules of WinHTTP's default policy, applied by the layer
// itself rather than by curl: at most ten redirects, never from https to
// http, POST turned into a GET without body by 301/302/303 while 307/308 keep
// the method and the body.

#include "http/RequestTarget.h"

#include <string>
#include <vector>

namespace ql::http {

class RedirectFollower {
public:
    static constexpr int kMaxRedirects = 10;

    enum class Next { Final, Follow, Refused };

    // Decides what a response whose headers are complete means. On Follow,
    // leg has been turned into the next leg.
    Next next(int statusCode, const std::vector<std::string>& locations, RequestLeg& leg);

private:
    int followed_ = 0;
};

} // namespace ql::http
