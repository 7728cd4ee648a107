#include "http/WinHttpError.h"

namespace ql::http {

WinHttpError winHttpErrorFor(CURLcode code)
{
    switch (code) {
    case CURLE_OK:
        return WinHttpError::None;
    case CURLE_OPERATION_TIMEDOUT:
        return WinHttpError::Timeout;
    case CURLE_URL_MALFORMAT:
        return WinHttpError::InvalidUrl;
    case CURLE_UNSUPPORTED_PROTOCOL:
        return WinHttpError::UnrecognizedScheme;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return WinHttpError::NameNotResolved;
    case CURLE_COULDNT_CONNECT:
        return WinHttpError::CannotConnect;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        return WinHttpError::SecureFailure;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_GOT_NOTHING:
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
        return WinHttpError::InvalidServerResponse;
    case CURLE_TOO_MANY_REDIRECTS:
        return WinHttpError::RedirectFailed;
    case CURLE_OUT_OF_MEMORY:
        return WinHttpError::OutOfMemory;
    default: // resets, truncated bodies (CURLE_PARTIAL_FILE) and whatever else breaks a transfer
        return WinHttpError::ConnectionError;
    }
}

} // namespace ql::http
