#pragma once
// ASCII-only case folding for protocol tokens (schemes, header names).
// Never <cctype>: it follows the locale.

#include <algorithm>
#include <string_view>

namespace ql::http {

template <typename Char>
constexpr Char foldAscii(Char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<Char>(c - 'A' + 'a') : c;
}

template <typename Char>
constexpr bool equalsIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(),
                      [](Char x, Char y) { return foldAscii(x) == foldAscii(y); });
}

constexpr bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return equalsIgnoringAsciiCase<char>(a, b);
}

} // namespace ql::http
