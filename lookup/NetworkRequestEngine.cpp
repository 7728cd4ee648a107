#include "lookup/RequestEngine.h"

namespace ql::lookup {

RequestEngine networkRequestEngine()
{
    return [](const Text& url, const http::HttpRequestArgs& args) {
        return http::httpRequest(url, args);
    };
}

} // namespace ql::lookup
