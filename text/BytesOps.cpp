#include "text/TextOps.h"

#include "text/JoinBytes.h"

#include <string>

namespace ql {

int bytesLength(const Bytes& bytes)
{
    return static_cast<int>(bytes.size());
}

Bytes bytesLeft(const Bytes& bytes, int count)
{
    if (count <= 0)
        return {};
    return Bytes(std::string(bytes.view().substr(0, static_cast<std::size_t>(count))));
}

Bytes blankBytes(int count)
{
    if (count <= 0)
        return {};
    return Bytes(std::string(static_cast<std::size_t>(count), '\0'));
}

Bytes concatBytes(std::initializer_list<std::string_view> parts)
{
    return Bytes(detail::joinBytes(parts));
}

Bytes textToBytes(const Text& text)
{
    return Bytes(text.str());
}

Text bytesToText(const Bytes& bytes)
{
    return Text(bytes.view()); // a Text ends at the first zero byte
}

Bytes bytesAtAddress(const void* address, int count)
{
    // A null address or negative count is read as nothing rather than
    // handed to memcpy.
    if (address == nullptr || count <= 0)
        return {};
    return Bytes(address, static_cast<std::size_t>(count));
}

} // namespace ql
