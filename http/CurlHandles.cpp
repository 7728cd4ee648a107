#include "http/CurlHandles.h"

#include <string>

namespace ql::http {

bool HeaderSlist::append(std::string_view line)
{
    const std::string terminated(line);
    curl_slist* grown = curl_slist_append(list_.get(), terminated.c_str());
    if (!grown)
        return false;
    // curl_slist_append returns the same head once the list exists.
    if (!list_)
        list_.reset(grown);
    return true;
}

bool ensureCurlGlobalInit()
{
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    return initialised == CURLE_OK;
}

} // namespace ql::http
