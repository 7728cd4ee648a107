#include "ReferenceText.h"

#include <algorithm>

namespace ql::fuzz::reference {
namespace {

bool isLead(char byte)
{
    return static_cast<unsigned char>(byte) >= 0x80;
}

char fold(char byte)
{
    return byte >= 'A' && byte <= 'Z' ? char(byte - 'A' + 'a') : byte;
}

bool equalAt(std::string_view text, std::size_t at, std::string_view sought, bool foldCase)
{
    if (text.size() - at < sought.size())
        return false;
    for (std::size_t i = 0; i < sought.size(); ++i) {
        const char a = text[at + i];
        const char b = sought[i];
        if (foldCase ? fold(a) != fold(b) : a != b)
            return false;
    }
    return true;
}

std::size_t skipFor(std::optional<int> startPosition)
{
    return startPosition && *startPosition > 1 ? std::size_t(*startPosition - 1) : 0;
}

bool isSpaceAt(std::string_view text, std::size_t at)
{
    return text[at] == ' ' || (text[at] == '\xA1' && at + 1 < text.size() && text[at + 1] == '\xA1');
}

} // namespace

bool isCharacterStart(std::string_view text, std::size_t at)
{
    std::size_t i = 0;
    while (i < at)
        i += isLead(text[i]) ? 2 : 1;
    return i == at;
}

int findText(std::string_view text, std::string_view sought, std::optional<int> startPosition,
             bool ignoreCase)
{
    const std::size_t s = skipFor(startPosition);
    if (s >= text.size())
        return -1;
    if (sought.empty())
        return 1;
    for (std::size_t i = s; i < text.size() && text.size() - i >= sought.size();) {
        if (equalAt(text, i, sought, ignoreCase))
            return int(i + 1);
        if (isLead(text[i]) && i + 1 == text.size())
            break;
        i += isLead(text[i]) ? 2 : 1;
    }
    return -1;
}

std::string replaceText(std::string_view text, std::string_view sought, std::string_view replacement,
                        std::optional<int> startPosition, std::optional<int> maxReplacements,
                        bool caseSensitive)
{
    const std::size_t s = skipFor(startPosition);
    if (text.empty() || sought.empty() || s >= text.size() || (maxReplacements && *maxReplacements == 0))
        return std::string(text);
    std::string result(text.substr(0, s));
    std::size_t i = s;
    int count = 0;
    while (i < text.size() && text.size() - i >= sought.size()) {
        if (equalAt(text, i, sought, !caseSensitive)) {
            result.append(replacement);
            i += sought.size();
            if (++count == (maxReplacements ? *maxReplacements : 0))
                break;
            continue;
        }
        if (isLead(text[i]) && i + 1 == text.size()) {
            i = text.size(); // a truncated character is dropped
            break;
        }
        const std::size_t length = isLead(text[i]) ? 2 : 1;
        result.append(text.substr(i, length));
        i += length;
    }
    result.append(text.substr(std::min(i, text.size())));
    return result;
}

std::vector<std::string> splitText(std::string_view text, std::string_view delimiter)
{
    if (text.empty())
        return {};
    if (delimiter.empty())
        return {std::string(text)};
    std::vector<std::string> pieces;
    std::size_t pieceStart = 0;
    for (std::size_t i = 0; i < text.size() && text.size() - i >= delimiter.size();) {
        if (equalAt(text, i, delimiter, false)) {
            pieces.emplace_back(text.substr(pieceStart, i - pieceStart));
            i += delimiter.size();
            pieceStart = i;
            continue;
        }
        if (isLead(text[i]) && i + 1 == text.size())
            break;
        i += isLead(text[i]) ? 2 : 1;
    }
    if (pieceStart < text.size())
        pieces.emplace_back(text.substr(pieceStart));
    return pieces;
}

std::string trimSpaces(std::string_view text)
{
    std::size_t begin = 0;
    while (begin < text.size() && isSpaceAt(text, begin))
        begin += text[begin] == ' ' ? 1 : 2;
    std::size_t end = text.size();
    std::size_t runStart = std::string_view::npos;
    for (std::size_t i = begin; i < text.size();) {
        if (isLead(text[i]) && i + 1 == text.size()) {
            end = i; // only the truncated byte goes
            runStart = std::string_view::npos;
            break;
        }
        if (isSpaceAt(text, i)) {
            if (runStart == std::string_view::npos)
                runStart = i;
        } else {
            runStart = std::string_view::npos;
        }
        i += isLead(text[i]) ? 2 : 1;
    }
    if (runStart != std::string_view::npos)
        end = runStart;
    return std::string(text.substr(begin, end - begin));
}

std::string removeSpaces(std::string_view text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size();) {
        if (isLead(text[i]) && i + 1 == text.size())
            break;
        const std::size_t length = isLead(text[i]) ? 2 : 1;
        if (!isSpaceAt(text, i))
            result.append(text.substr(i, length));
        i += length;
    }
    return result;
}

std::string textBetween(std::string_view text, std::string_view leftMarker, std::string_view rightMarker,
                        int startPosition, bool ignoreCase)
{
    constexpr std::string_view quoteToken = "\x23\xD2\xFD\xBA\xC5"; // "#引号"
    const std::string left = replaceText(leftMarker, quoteToken, "\"", std::nullopt, std::nullopt, true);
    const std::string right = replaceText(rightMarker, quoteToken, "\"", std::nullopt, std::nullopt, true);
    const int leftAt = findText(text, left, startPosition, ignoreCase);
    if (leftAt == -1)
        return {};
    const int p = leftAt + int(left.size());
    const int q = findText(text, right, p, ignoreCase);
    // The middle part: empty for a count below 1 (an empty right marker is
    // found at position 1) or a start past the end.
    if (q == -1 || q - p < 1 || p > int(text.size()))
        return {};
    return std::string(text.substr(std::size_t(p - 1), std::size_t(q - p)));
}

std::string batchReplace(std::string_view text, int maxReplacements, bool limitReplacements,
                         int startPosition, bool caseSensitive, const std::string (&pairs)[10])
{
    const int start = startPosition == 0 ? 1 : startPosition;
    const std::optional<int> count = limitReplacements ? std::optional<int>(maxReplacements) : std::nullopt;
    std::string current(text);
    for (int pair = 0; pair < 5; ++pair)
        current = replaceText(current, pairs[2 * pair], pairs[2 * pair + 1], start, count, caseSensitive);
    return current;
}

std::string mergeCookies(std::string_view sentCookies, std::string_view receivedCookies)
{
    const auto nameOf = [](const std::string& entry) {
        const int equalsAt = findText(entry, "=", 1, false);
        return trimSpaces(equalsAt == -1 ? entry : entry.substr(0, std::size_t(equalsAt - 1)));
    };
    const std::vector<std::string> sent = splitText(removeSpaces(sentCookies), ";");
    std::vector<std::string> merged = splitText(removeSpaces(receivedCookies), ";");
    for (const std::string& entry : sent) {
        const bool known = std::any_of(merged.begin(), merged.end(),
                                       [&](const std::string& m) { return nameOf(m) == nameOf(entry); });
        if (!known)
            merged.push_back(entry);
    }
    std::string joined;
    for (const std::string& entry : merged) {
        if (!entry.ends_with("=deleted"))
            joined += entry + "; ";
    }
    joined = joined.substr(0, joined.size() >= 2 ? joined.size() - 2 : 0);

    std::vector<std::string> kept;
    for (const std::string& entry : splitText(joined, "; ")) {
        if (std::find(kept.begin(), kept.end(), entry) == kept.end())
            kept.push_back(entry);
    }
    std::string result;
    for (std::size_t i = 0; i < kept.size(); ++i)
        result += (i ? "; " : "") + kept[i];
    return result;
}

} // namespace ql::fuzz::reference
