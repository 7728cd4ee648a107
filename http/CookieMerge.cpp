#include "http/CookieMerge.h"

#include "text/TextOps.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace ql::http {

namespace {

constexpr std::string_view kEntrySeparator = "; ";
constexpr std::string_view kDeletedSuffix = "=deleted"; // exact: "=DELETED" survives

Text cookieName(const Text& entry)
{
    const int equalsAt = findText(entry, "=", 1);
    return trimSpaces(equalsAt == -1 ? entry : textLeft(entry, equalsAt - 1));
}

bool hasEntryNamed(const TextArray& entries, const Text& name)
{
    return std::any_of(entries.begin(), entries.end(),
                       [&](const Text& entry) { return cookieName(entry) == name; });
}

Text joinEntries(const TextArray& entries)
{
    std::string joined;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0)
            joined.append(kEntrySeparator);
        joined.append(entries[i].view());
    }
    return Text(std::move(joined));
}

Text removeDuplicateEntries(const Text& cookies)
{
    TextArray kept;
    for (const Text& entry : splitText(cookies, Text(kEntrySeparator))) {
        if (std::find(kept.begin(), kept.end(), entry) == kept.end())
            kept.push_back(entry);
    }
    return joinEntries(kept);
}

} // namespace

Text mergeCookies(Text& sentCookies, const Text& receivedCookies)
{
    const TextArray sent = splitText(removeSpaces(sentCookies), ";");
    TextArray merged = splitText(removeSpaces(receivedCookies), ";");
    // merged grows while the sent entries are taken, so of several sent
    // entries sharing a name only the first gets in.
    for (const Text& entry : sent) {
        if (!hasEntryNamed(merged, cookieName(entry)))
            merged.push_back(entry);
    }

    TextArray alive;
    for (const Text& entry : merged) {
        if (!entry.view().ends_with(kDeletedSuffix))
            alive.push_back(entry);
    }

    Text result = removeDuplicateEntries(joinEntries(alive));
    sentCookies = result;
    return result;
}

} // namespace ql::http
