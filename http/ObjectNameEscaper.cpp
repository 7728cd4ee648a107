#include "http/ObjectNameEscaper.h"

#include "text/CodePage.h"

namespace ql::http {
namespace {

bool needsEscape(unsigned char byte)
{
    if (byte < 0x21 || byte >= 0x7F)
        return true;
    constexpr std::string_view unsafe = "\"#<>[\\]^`{|}";
    return unsafe.find(static_cast<char>(byte)) != std::string_view::npos;
}

} // namespace

std::string escapeObjectName(std::u16string_view objectName)
{
    constexpr char hexDigits[] = "0123456789ABCDEF";
    const std::string utf8 = wideToUtf8(objectName);
    std::string escaped;
    escaped.reserve(utf8.size());
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (needsEscape(byte)) {
            escaped += '%';
            escaped += hexDigits[byte >> 4];
            escaped += hexDigits[byte & 0x0F];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

} // namespace ql::http
