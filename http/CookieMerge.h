#pragma once
// Folding the cookies a reply set into the cookie text that was sent.
// A cookie text is name=value entries separated by "; ".

#include "text/Text.h"

namespace ql::http {

// Received entries first, in their order, then the sent entries whose names
// were not received; entries ending in "=deleted" are dropped and identical
// entries collapse. sentCookies receives the result as well.
Text mergeCookies(Text& sentCookies, const Text& receivedCookies);

} // namespace ql::http
