#include "http/ResponseDecoder.h"

#include "http/CharsetDecoder.h"
#include "http/PumpMessages.h"
#include "text/CodePage.h"
#include "text/TextOps.h"

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

} // namespace

Text decodeResponseText(const Bytes& responseBody, RegexObject& charsetFinder)
{
    Text result = bytesToText(responseBody);
    const Text subject = textLeft(result, kCharsetSearchBytes);
    if (!charsetFinder.execute(kCharsetPattern, subject))
        return result;

    const Text charset = charsetFinder.submatchText(1, 1);
    if (!charset.empty() && !isNativeCharset(charset)) {
        // A charset the decoder does not know keeps the GBK reading rather
        // than losing the page.
        if (auto decoded = decodeCharset(charset.view(), responseBody.view()))
            result = Text(wideToGbk(*decoded));
    }
    pumpMessages();
    return result;
}

} // namespace ql::http
