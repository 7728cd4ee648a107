#pragma once
// Percent-encoding of a byte string: %XX with upper-case hex digits for
// every byte the caller's rule picks, every other byte as it stands.

#include <string>
#include <string_view>

namespace ql::http {

std::string percentEncode(std::string_view bytes, bool (*needsEscape)(unsigned char byte));

} // namespace ql::http
