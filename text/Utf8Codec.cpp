#include "text/Utf8Codec.h"

#include "text/IcuConverter.h"

#include <algorithm>

namespace ql {
namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

bool inRange(unsigned char byte, unsigned char low, unsigned char high)
{
    return byte >= low && byte <= high;
}

// The length of the well-formed sequence starting at input[i], or 0 when it
// is not well-formed (Unicode Table 3-7).
std::size_t wellFormedLength(const unsigned char* input, std::size_t i, std::size_t size)
{
    const unsigned char lead = input[i];
    const std::size_t left = size - i;
    if (inRange(lead, 0xC2, 0xDF))
        return left >= 2 && isContinuation(input[i + 1]) ? 2 : 0;
    if (inRange(lead, 0xE0, 0xEF)) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return left >= 3 && inRange(input[i + 1], low, high) && isContinuation(input[i + 2]) ? 3
                                                                                            : 0;
    }
    if (inRange(lead, 0xF0, 0xF4)) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return left >= 4 && inRange(input[i + 1], low, high) && isContinuation(input[i + 2])
                       && isContinuation(input[i + 3])
                   ? 4
                   : 0;
    }
    return 0;
}

} // namespace

void appendUtf8Decoded(std::string_view bytes, std::u16string& out)
{
    const auto* input = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    // No sequence yields more units than it has bytes.
    std::size_t written = out.size();
    out.resize(written + size);

    std::u16string piece;
    std::size_t i = 0;
    while (i < size) {
        const unsigned char lead = input[i];
        if (lead < 0x80) {
            out[written++] = lead;
            ++i;
            continue;
        }
        switch (wellFormedLength(input, i, size)) {
        case 2:
            out[written++] = static_cast<char16_t>((lead & 0x1F) << 6 | (input[i + 1] & 0x3F));
            i += 2;
            continue;
        case 3:
            out[written++] = static_cast<char16_t>((lead & 0x0F) << 12 | (input[i + 1] & 0x3F) << 6
                                                   | (input[i + 2] & 0x3F));
            i += 3;
            continue;
        case 4: {
            const char32_t c = (lead & 0x07) << 18 | (input[i + 1] & 0x3F) << 12
                               | (input[i + 2] & 0x3F) << 6 | (input[i + 3] & 0x3F);
            out[written++] = static_cast<char16_t>(0xD7C0 + (c >> 10));
            out[written++] = static_cast<char16_t>(0xDC00 | (c & 0x3FF));
            i += 4;
            continue;
        }
        default:
            break;
        }
        // An ASCII byte ends every invalid sequence, so ICU, given the run
        // of non-ASCII bytes from here, starts and ends where it would over
        // the whole input.
        const std::size_t end = static_cast<std::size_t>(
            std::find_if(input + i, input + size, [](unsigned char b) { return b < 0x80; })
            - input);
        piece.clear();
        appendDecoded(threadUtf8Converter(), bytes.substr(i, end - i), piece);
        if (written + piece.size() + (size - end) > out.size())
            out.resize(written + piece.size() + (size - end));
        std::copy(piece.begin(), piece.end(), out.begin() + static_cast<std::ptrdiff_t>(written));
        written += piece.size();
        i = end;
    }
    out.resize(written);
}

} // namespace ql
