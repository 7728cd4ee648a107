#include "http/ObjectNameEscaper.h"

#include "http/PercentEncoding.h"
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
    return percentEncode(wideToUtf8(objectName), needsEscape);
}

} // namespace ql::http
