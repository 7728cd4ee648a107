// decodeResponseText over arbitrary bodies, most of them opening with a meta
// tag that names an arbitrary charset (empty, unknown, very long). The
// result is a proper Text, and it is the GBK reading of the body unless the
// declared charset is one the decoder knows other than gbk and gb2312. The
// decoder is also handed the raw name directly: a name that could carry
// converter options or a path (",", "/", blanks and the like) is refused.

#include "FuzzInput.h"
#include "http/CharsetDecoder.h"
#include "http/ResponseDecoder.h"
#include "regex/RegexObject.h"
#include "text/CodePage.h"
#include "text/TextOps.h"

#include <algorithm>
#include <string>

namespace {

bool isPlainLabel(std::string_view label)
{
    return !label.empty() && std::ranges::all_of(label, [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'
            || c == '_' || c == '.' || c == ':';
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ql;
    using namespace ql::fuzz;
    FuzzInput input(data, size);
    const std::uint8_t options = input.byte();
    const bool declares = input.flag(options, 0);
    std::string charset(declares ? input.field() : std::string_view());
    if (input.flag(options, 1)) // a name of 200 bytes, cycling through what was given
        for (std::size_t i = charset.size(); i < 200 && !charset.empty(); ++i)
            charset += charset[i % charset.size()];
    const std::string_view page = input.rest();
    if (!isPlainLabel(charset))
        FUZZ_CHECK(!http::decodeCharset(charset, page).has_value());
    std::string body(page);
    if (declares)
        body = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + charset + "\">" + body;
    const Bytes responseBody{body};

    RegexObject charsetFinder;
    const Text result = http::decodeResponseText(responseBody, charsetFinder);
    FUZZ_CHECK(isZeroFree(result.view()));

    RegexObject finder;
    const bool searched = finder.execute("<meta.+?charset=[^\\w]?([-\\w]+)", textLeft(bytesToText(responseBody), 1024));
    const Text declared = searched ? finder.submatchText(1, 1) : Text();
    const bool native = declared == Text("gbk") || declared == Text("gb2312");
    const auto decoded = declared.empty() || native ? std::nullopt : http::decodeCharset(declared.view(), body);
    if (decoded)
        FUZZ_CHECK(result == Text(wideToGbk(*decoded)));
    else
        FUZZ_CHECK(result == bytesToText(responseBody));
    return 0;
}
