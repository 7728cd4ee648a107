#pragma once
// Drives a WinHttpLayer through one request the way the request engine
// does, stopping at the first failing call, and reports what happened.

#include "http/WinHttpError.h"
#include "http/WinHttpLayer.h"

#include <string>

namespace ql::http::testing {

struct LayerCall {
    std::string url{}; // UTF-8
    std::string verb = "GET";
    std::string body{};
    std::string headers{}; // UTF-8 block, passed with ADD | REPLACE when not empty
    int timeoutMs = 10000;
    bool disableRedirects = false;
    bool disableCookies = false;
    std::string proxy{}; // WinHTTP proxy list; empty: none
    std::string userName{};
    std::string password{};
    std::string proxyUserName{};
    std::string proxyPassword{};
};

enum class Stage { None, Crack, Open, Connect, OpenRequest, Timeouts, Credentials, Options, Headers, Send,
                   Receive, Read, QueryHeaders };

struct LayerOutcome {
    Stage failedAt = Stage::None;
    WinHttpError error = WinHttpError::None;
    std::string rawHeaders; // UTF-8
    std::string body;
};

LayerOutcome runThroughLayer(WinHttpLayer& layer, const LayerCall& call);

} // namespace ql::http::testing
