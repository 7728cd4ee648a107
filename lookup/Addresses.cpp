#include "lookup/Addresses.h"

#include "text/CodePage.h"
#include "text/TextOps.h"

namespace ql::lookup {

namespace {

bool isUnreserved(unsigned char byte)
{
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z')
        || (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_'
        || byte == '~';
}

} // namespace

Text configuredQuestionBankHost() { return Text(QL_QUESTION_BANK_HOST); }

std::string percentEncodeAsUtf8(const Text& gbk)
{
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    const std::string utf8 = wideToUtf8(gbkToWide(gbk.view()));
    std::string encoded;
    encoded.reserve(utf8.size() * 3);
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (isUnreserved(byte)) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHexDigits[byte >> 4];
            encoded += kHexDigits[byte & 0x0F];
        }
    }
    return encoded;
}

Text searchAddress(const Text& host, const Text& question)
{
    return concatText({"http://", host.view(), "/qwg/chazhao.php?w=", percentEncodeAsUtf8(question)});
}

Text answerAddress(const Text& host, const Text& id)
{
    return concatText({"http://", host.view(), "/qwg/indexchaxun.php?id=", id.view()});
}

} // namespace ql::lookup
