#pragma once
// The object name as WinHTTP puts it on the request line without escape
// flags: UTF-8, with %XX (upper-case) for bytes >= 0x80, control bytes, the
// blank and " # < > [ \ ] ^ ` { | }. '%' itself is kept, so an address that
// is already escaped is not escaped twice.

#include <string>
#include <string_view>

namespace ql::http {

std::string escapeObjectName(std::u16string_view objectName);

} // namespace ql::http
