#pragma once
// One owner per libcurl handle. Nothing outside these owners frees a CURL*,
// CURLM* or curl_slist.

#include <curl/curl.h>

#include <memory>
#include <string_view>

namespace ql::http {

struct EasyHandleDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiHandleDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct UrlHandleDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

using EasyHandle = std::unique_ptr<CURL, EasyHandleDeleter>;
using MultiHandle = std::unique_ptr<CURLM, MultiHandleDeleter>;
using UrlHandle = std::unique_ptr<CURLU, UrlHandleDeleter>;

// A header list that only grows; curl_slist_append copies each line.
class HeaderSlist {
public:
    bool append(std::string_view line);
    curl_slist* get() const { return list_.get(); }

private:
    std::unique_ptr<curl_slist, SlistDeleter> list_;
};

// curl_global_init once per process, before the first handle; thread-safe.
// False when the library could not be set up.
bool ensureCurlGlobalInit();

} // namespace ql::http
