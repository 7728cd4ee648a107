#include "http/PercentEncoding.h"

namespace ql::http {

std::string percentEncode(std::string_view bytes, bool (*needsEscape)(unsigned char byte))
{
    constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (needsEscape(byte)) {
            encoded += '%';
            encoded += kHexDigits[byte >> 4];
            encoded += kHexDigits[byte & 0x0F];
        } else {
            encoded += c;
        }
    }
    return encoded;
}

} // namespace ql::http
