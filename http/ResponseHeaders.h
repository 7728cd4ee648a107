#pragma once
// The response step of a request: raw headers, status text, cookies,
// redirect target, the body out-parameter and the decoded result text.

#include "http/HttpRequest.h"
#include "http/WinHttpLayer.h"
#include "regex/RegexObject.h"
#include "text/Text.h"

namespace ql::http {

// Fills the out-parameters of args from the reply's header block and returns
// the decoded body. The body moves into responseBody rather than being
// copied: a large reply is held once less. When the header block cannot be read it writes nothing
// and returns the empty text. keepFailureStatus leaves statusText alone, so
// that a body that broke off stays reported as a failure.
Text processResponseHeaders(WinHttpLayer& layer, Handle request, Bytes&& body,
                            const HttpRequestArgs& args, bool keepFailureStatus,
                            RegexObject& charsetFinder);

} // namespace ql::http
