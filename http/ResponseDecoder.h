#pragma once
// The response text: the body read as GBK, or decoded again from the
// charset a meta tag in its first 1024 bytes declares.

#include "regex/RegexObject.h"
#include "text/Text.h"

namespace ql::http {

// charsetFinder is the calling request's own regular-expression object.
// Pumps window messages once when the charset search ran.
Text decodeResponseText(Bytes responseBody, RegexObject& charsetFinder);

} // namespace ql::http
