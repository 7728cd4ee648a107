// mergeCookies on arbitrary sent and received cookie texts, against the
// reference merge, with the shape of a cookie text checked on its own:
// entries separated by "; ", no space within an entry, no entry ending in
// "=deleted", each entry once. An empty entry is allowed (the sender's
// "a=1;;b=2" keeps its empty place), and so the text may end in "; " when
// its one empty entry comes last.

#include "FuzzInput.h"
#include "ReferenceText.h"
#include "http/CookieMerge.h"

#include <algorithm>
#include <string>
#include <vector>

namespace ql::fuzz {
namespace {

// The entries between "; " separators, a trailing empty entry included.
std::vector<std::string_view> entriesOf(std::string_view cookies)
{
    std::vector<std::string_view> entries;
    if (cookies.empty())
        return entries;
    for (std::size_t begin = 0;;) {
        std::size_t at = begin;
        while (at < cookies.size() && !(cookies.substr(at).starts_with("; ")))
            at += static_cast<unsigned char>(cookies[at]) >= 0x80 ? 2 : 1;
        entries.push_back(cookies.substr(begin, std::min(at, cookies.size()) - begin));
        if (at >= cookies.size())
            return entries;
        begin = at + 2;
    }
}

bool holdsSpaceOrSeparator(std::string_view entry)
{
    for (std::size_t at = 0; at < entry.size();) {
        if (entry[at] == ' ' || entry[at] == ';' || entry.substr(at).starts_with("\xA1\xA1"))
            return true;
        at += static_cast<unsigned char>(entry[at]) >= 0x80 ? 2 : 1;
    }
    return false;
}

} // namespace
} // namespace ql::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ql;
    using namespace ql::fuzz;
    FuzzInput input(data, size);
    const Text sentBefore(input.field());
    const Text received(input.rest());

    Text sent = sentBefore;
    const Text merged = http::mergeCookies(sent, received);
    FUZZ_CHECK(sent == merged);
    FUZZ_CHECK(isZeroFree(merged.view()));
    FUZZ_CHECK(merged.view() == reference::mergeCookies(sentBefore.view(), received.view()));

    const std::vector<std::string_view> entries = entriesOf(merged.view());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        FUZZ_CHECK(!holdsSpaceOrSeparator(entries[i]));
        FUZZ_CHECK(!entries[i].ends_with("=deleted"));
        FUZZ_CHECK(std::count(entries.begin(), entries.end(), entries[i]) == 1);
    }
    FUZZ_CHECK(!merged.view().starts_with(" "));
    return 0;
}
