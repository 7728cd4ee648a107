#include "http/RequestTarget.h"

#include "http/AsciiCase.h"

namespace ql::http {

std::string RequestTarget::url() const
{
    return (secure ? "https://" : "http://") + host + ':' + std::to_string(port) + path + query;
}

bool RequestTarget::sameAuthority(const RequestTarget& other) const
{
    return port == other.port && equalsIgnoringAsciiCase(host, other.host);
}

} // namespace ql::http
