#pragma once
// Decodes bytes from a charset named by a web page (a meta tag's charset
// label) into UTF-16. Labels follow the browser's MIME charset names:
// gb2312 and its aliases mean the full code page 936 table, "unicode" is
// little-endian UTF-16, and "iso-8859-1" is read as windows-1252, as
// browsers do.

#include <optional>
#include <string>
#include <string_view>

namespace ql::http {

// nullopt when the label names no charset this decoder knows.
std::optional<std::u16string> decodeCharset(std::string_view label, std::string_view bytes);

} // namespace ql::http
