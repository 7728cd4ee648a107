#pragma once
// httpRequest: one synchronous HTTP request. It returns the response body as
// text (decoded by the charset its meta tag declares) or the empty text on
// failure; the numbered failure text goes to statusText. Out-parameters are
// nullable pointers: a null pointer is an argument left out, and an
// out-parameter is written only on the paths that produce it.
//
// A body that breaks off keeps "713 ..." in statusText while the headers,
// cookies, redirect target, partial body and its text are still filled.
// Caller texts cannot split a request header: line breaks are taken out of
// sentCookies, the credentials and the proxy (extraHeaders is a block of
// lines by design). Window messages are pumped as each stage of the request
// finishes (see setPumpMessagesHook), never while the layer waits.

#include "http/WinHttpLayer.h"
#include "text/Text.h"

namespace ql::http {

struct HttpRequestArgs {
    int method = 0;                   // 0 GET, 1 POST, 2 HEAD, 3 PUT, 4 OPTIONS, 5 DELETE, 6 TRACE, 7 CONNECT
    Text postData;
    Text* sentCookies = nullptr;      // in/out; null = left out, which differs from empty
    Text* receivedCookies = nullptr;  // out
    Text extraHeaders;                // lines separated by "\r\n", none after the last
    Text* responseHeaders = nullptr;  // out
    bool disableRedirects = false;
    Text userName;
    Text password;
    Text proxy;                       // "host:port"; empty = no proxy
    Text proxyUserName;
    Text proxyPassword;
    int timeoutSeconds = 0;           // below 1 means 30
    Text* redirectLocation = nullptr; // out
    Text* statusText = nullptr;       // out
    Bytes* responseBody = nullptr;    // out
    bool autoMergeCookies = true;
};

Text httpRequest(const Text& url, const HttpRequestArgs& args = {});
Text httpRequest(WinHttpLayer& layer, const Text& url, const HttpRequestArgs& args);

} // namespace ql::http
