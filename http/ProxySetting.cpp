#include "http/ProxySetting.h"

#include "http/AsciiCase.h"

namespace ql::http {
namespace {

std::string asProxyUrl(std::string_view address)
{
    return address.find("://") == std::string_view::npos ? "http://" + std::string(address) : std::string(address);
}

} // namespace

std::string proxyUrlFor(std::string_view proxyList, bool secure)
{
    const std::string_view wanted = secure ? "https" : "http";
    std::string_view fallback;
    std::size_t pos = 0;
    while (pos < proxyList.size()) {
        pos = proxyList.find_first_not_of("; \t", pos);
        if (pos == std::string_view::npos)
            break;
        std::size_t end = proxyList.find_first_of("; \t", pos);
        if (end == std::string_view::npos)
            end = proxyList.size();
        const std::string_view entry = proxyList.substr(pos, end - pos);
        pos = end;

        const std::size_t equals = entry.find('=');
        if (equals == std::string_view::npos) {
            if (fallback.empty())
                fallback = entry;
        } else if (equalsIgnoringAsciiCase(entry.substr(0, equals), wanted)) {
            return asProxyUrl(entry.substr(equals + 1));
        }
    }
    return fallback.empty() ? std::string() : asProxyUrl(fallback);
}

} // namespace ql::http
