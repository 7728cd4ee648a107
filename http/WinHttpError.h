#pragma once
// The WinHTTP error numbers this layer reports, and the one place where
// libcurl's result codes are translated into them.

#include <curl/curl.h>

#include <cstdint>

namespace ql::http {

enum class WinHttpError : std::uint32_t {
    None = 0,
    InvalidHandle = 6,
    OutOfMemory = 8,
    InvalidParameter = 87,
    InsufficientBuffer = 122,
    Timeout = 12002,
    InternalError = 12004,
    InvalidUrl = 12005,
    UnrecognizedScheme = 12006,
    NameNotResolved = 12007,
    InvalidOption = 12009,
    IncorrectHandleType = 12018,
    IncorrectHandleState = 12019,
    CannotConnect = 12029,
    ConnectionError = 12030,
    HeaderNotFound = 12150,
    InvalidServerResponse = 12152,
    InvalidHeader = 12153,
    RedirectFailed = 12156,
    SecureFailure = 12175,
};

WinHttpError winHttpErrorFor(CURLcode code);

} // namespace ql::http
