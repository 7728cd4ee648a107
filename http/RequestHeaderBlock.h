#pragma once
// The request header block: the caller's lines followed by the default
// headers whose markers the block does not hold yet.

#include "text/Text.h"

namespace ql::http {

// sentCookies null means the caller left it out. CR and LF are taken out of
// the cookie text so that it cannot end its header line early.
Text buildRequestHeaderBlock(const Text& extraHeaders, int method, const Text* sentCookies);

// The text without CR and LF bytes.
Text withoutLineBreaks(const Text& text);

} // namespace ql::http
