#pragma once
// WinHttpCrackUrl for the only form the engine uses (whole URL, no escape
// flags): http or https, "//", host, optional port, path up to the first '?'
// or '#', and the extra information from there on, a "#fragment" included.

#include "http/WinHttpLayer.h"

#include <string_view>

namespace ql::http {

// False (out untouched) for an unknown scheme, a missing "//", an empty or
// unsafe host, or a port that is not 0..65535.
bool crackHttpUrl(std::u16string_view url, CrackedUrl& out);

// A host name that cannot split a request line or hide another authority:
// no control characters, blanks or URL delimiters; IPv6 literals in brackets.
bool isSafeHost(std::u16string_view host);

} // namespace ql::http
