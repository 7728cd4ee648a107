#include "lookup/Addresses.h"

#include "http/PercentEncoding.h"
#include "text/CodePage.h"
#include "text/TextOps.h"

namespace ql::lookup {

namespace {

// Everything but the unreserved characters A-Z a-z 0-9 - . _ ~
bool isReserved(unsigned char byte)
{
    const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z')
                         || (byte >= '0' && byte <= '9') || byte == '-' || byte == '.'
                         || byte == '_' || byte == '~';
    return !unreserved;
}

} // namespace

Text configuredQuestionBankHost() { return Text(QL_QUESTION_BANK_HOST); }

std::string percentEncodeAsUtf8(const Text& gbk)
{
    return http::percentEncode(wideToUtf8(gbkToWide(gbk.view())), isReserved);
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
