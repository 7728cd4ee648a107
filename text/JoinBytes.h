#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace ql::detail {

// One allocation for the joined parts of concatText and concatBytes.
inline std::string joinBytes(std::initializer_list<std::string_view> parts)
{
    std::size_t total = 0;
    for (std::string_view part : parts)
        total += part.size();
    std::string joined;
    joined.reserve(total);
    for (std::string_view part : parts)
        joined.append(part);
    return joined;
}

} // namespace ql::detail
