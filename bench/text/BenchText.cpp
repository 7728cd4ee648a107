// Throughput of the character-aware searches over a large GBK text, each
// against a plain memmem loop over the same bytes that ignores characters.
// Prints "RESULT <case> <ours MB/s> <floor MB/s> <ratio>".

#include "text/TextOps.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kTextBytes = 64u << 20;
constexpr int kRepetitions = 5;
constexpr std::string_view kDelimiter = "<br>";
constexpr std::string_view kRareNeedle = "#rare#";
constexpr std::string_view kAbsentNeedle = "zq!x";

// ASCII words and double-byte characters, "<br>" about every 100 bytes and
// the rare needle about every megabyte.
std::string makeGbkText()
{
    std::mt19937 random(42);
    std::uniform_int_distribution<int> kind(0, 9), ascii('a', 'p'), lead(0xB0, 0xF7),
        trail(0xA1, 0xFE), pieceLength(60, 140);
    std::string text;
    text.reserve(kTextBytes + 256);
    std::size_t nextRare = 1u << 20;
    while (text.size() < kTextBytes) {
        const std::size_t pieceEnd = text.size() + static_cast<std::size_t>(pieceLength(random));
        while (text.size() < pieceEnd) {
            if (kind(random) < 5) {
                text += static_cast<char>(ascii(random));
            } else {
                text += static_cast<char>(lead(random));
                text += static_cast<char>(trail(random));
            }
        }
        if (text.size() >= nextRare) {
            text += kRareNeedle;
            nextRare += 1u << 20;
        }
        text += kDelimiter;
    }
    return text;
}

// Best throughput over the repetitions, in MB/s.
double bestMegabytesPerSecond(std::size_t bytes, const std::function<std::size_t()>& run,
                              std::size_t& checksum)
{
    double best = 0;
    for (int i = 0; i < kRepetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        checksum += run();
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        best = std::max(best, static_cast<double>(bytes) / 1e6 / seconds.count());
    }
    return best;
}

std::size_t floorFind(std::string_view text, std::string_view needle)
{
    const void* hit = memmem(text.data(), text.size(), needle.data(), needle.size());
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : 0;
}

std::size_t floorSplit(std::string_view text, std::string_view delimiter)
{
    std::vector<std::string> pieces;
    std::size_t from = 0;
    while (const void* hit = memmem(text.data() + from, text.size() - from, delimiter.data(),
                                    delimiter.size())) {
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        pieces.emplace_back(text.substr(from, at - from));
        from = at + delimiter.size();
    }
    if (from < text.size())
        pieces.emplace_back(text.substr(from));
    return pieces.size();
}

std::size_t floorReplace(std::string_view text, std::string_view needle, std::string_view with)
{
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    while (const void* hit =
               memmem(text.data() + from, text.size() - from, needle.data(), needle.size())) {
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        out.append(text.substr(from, at - from));
        out.append(with);
        from = at + needle.size();
    }
    out.append(text.substr(from));
    return out.size();
}

void report(const char* name, double ours, double floor)
{
    std::printf("RESULT %s %.1f %.1f %.3f\n", name, ours, floor, ours / floor);
    std::fflush(stdout);
}

} // namespace

int main()
{
    const ql::Text text(makeGbkText());
    const std::string_view bytes = text.view();
    const ql::Text absent(kAbsentNeedle);
    const ql::Text delimiter(kDelimiter);
    const ql::Text rare(kRareNeedle);
    const ql::Text replacement("[x]");
    std::size_t checksum = 0;

    report("findText",
           bestMegabytesPerSecond(
               bytes.size(),
               [&] { return static_cast<std::size_t>(ql::findText(text, absent) + 1); }, checksum),
           bestMegabytesPerSecond(
               bytes.size(), [&] { return floorFind(bytes, kAbsentNeedle); }, checksum));

    report("splitText",
           bestMegabytesPerSecond(
               bytes.size(), [&] { return ql::splitText(text, delimiter).size(); }, checksum),
           bestMegabytesPerSecond(
               bytes.size(), [&] { return floorSplit(bytes, kDelimiter); }, checksum));

    report("replaceText",
           bestMegabytesPerSecond(
               bytes.size(),
               [&] {
                   return ql::replaceText(text, rare, replacement, std::nullopt, std::nullopt, true)
                       .size();
               },
               checksum),
           bestMegabytesPerSecond(
               bytes.size(), [&] { return floorReplace(bytes, kRareNeedle, "[x]"); }, checksum));

    std::fprintf(stderr, "checksum %zu\n", checksum);
    return 0;
}
