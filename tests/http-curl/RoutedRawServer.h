#pragma once
// A raw server that answers each request on a kept-alive connection with the
// reply its handler picks from the request's bytes.

#include "RawServer.h"

#include <functional>
#include <string>

namespace ql::http::testing {

// "GET /a?b HTTP/1.1\r\n..." -> "/a?b"
inline std::string requestTarget(const std::string& request)
{
    const std::size_t start = request.find(' ') + 1;
    return request.substr(start, request.find(' ', start) - start);
}

inline RawServer::Behaviour answerEach(std::function<std::string(const std::string& request)> reply)
{
    return [reply = std::move(reply)](RawConnection& connection) {
        for (std::string request = connection.readRequest(); !request.empty(); request = connection.readRequest())
            connection.send(reply(request));
    };
}

} // namespace ql::http::testing
