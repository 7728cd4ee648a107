#include "http/ResponseDecoder.h"

#include "http/CharsetDecoder.h"
#include "http/PumpMessages.h"
#include "text/CodePage.h"
#include "text/TextOps.h"

#include <optional>
#include <utility>

namespace ql::http {

namespace {

constexpr int kCharsetSearchBytes = 1024;
constexpr const char* kCharsetPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";

// Byte for byte: a page declaring "GBK" or "GB2312" in capitals still goes
// through the decoder, which reads it with the same table.
bool isNativeCharset(const Text& charset)
{
    return textEquals(charset, "gbk") || textEquals(charset, "gb2312");
}

// The GBK reading of the body: its bytes before the first zero byte. The
// body's storage becomes the text, so a large reply is not copied again.
Text gbkReading(Bytes&& responseBody) { return Text(std::move(responseBody).release()); }

} // namespace

Text decodeResponseText(Bytes responseBody, RegexObject& charsetFinder)
{
    // The first 1024 bytes of the GBK reading (a Text ends at a zero byte).
    const Text subject(responseBody.view().substr(0, kCharsetSearchBytes));
    if (!charsetFinder.execute(kCharsetPattern, subject))
        return gbkReading(std::move(responseBody));

    const Text charset = charsetFinder.submatchText(1, 1);
    std::optional<Text> decoded;
    // A charset the decoder does not know keeps the GBK reading rather than
    // losing the page.
    if (!charset.empty() && !isNativeCharset(charset)) {
        if (auto wide = decodeCharset(charset.view(), responseBody.view()))
            decoded = Text(wideToGbk(*wide));
    }
    Text result = decoded ? std::move(*decoded) : gbkReading(std::move(responseBody));
    pumpMessages();
    return result;
}

} // namespace ql::http
