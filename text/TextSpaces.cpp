// Trimming and removing spaces: the byte 0x20 and the full-width pair A1 A1.

#include "text/GbkWalk.h"
#include "text/TextOps.h"

#include <string>

namespace ql {

Text trimSpaces(const Text& text)
{
    const std::string_view in = text.view();
    std::size_t at = 0;
    while (at < in.size()) {
        const std::size_t space = gbk::spaceLength(in, at);
        if (space == 0)
            break;
        at += space;
    }
    const std::size_t begin = at;
    std::size_t end = in.size();
    std::size_t runStart = gbk::npos;
    while (at < in.size()) {
        if (gbk::isTruncatedCharacter(in, at)) {
            end = at; // only the truncated byte goes, spaces before it stay
            runStart = gbk::npos;
            break;
        }
        const std::size_t space = gbk::spaceLength(in, at);
        if (space == 0)
            runStart = gbk::npos;
        else if (runStart == gbk::npos)
            runStart = at;
        at += space != 0 ? space : gbk::characterLength(in, at);
    }
    if (runStart != gbk::npos)
        end = runStart;
    return Text(in.substr(begin, end - begin));
}

Text removeSpaces(const Text& text)
{
    const std::string_view in = text.view();
    std::string out;
    out.reserve(in.size());
    std::size_t at = 0;
    while (at < in.size()) {
        if (gbk::isTruncatedCharacter(in, at))
            break;
        const std::size_t space = gbk::spaceLength(in, at);
        if (space != 0) {
            at += space;
            continue;
        }
        const std::size_t length = gbk::characterLength(in, at);
        out.append(in.substr(at, length));
        at += length;
    }
    return Text(std::move(out));
}

} // namespace ql
