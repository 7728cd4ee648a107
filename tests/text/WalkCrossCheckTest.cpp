// The fast searches (byte search, then a check that the hit starts a
// character) against a plain character-by-character walk, over many
// generated texts that mix ASCII, lead-range bytes and truncated endings.

#include "ReferenceText.h"
#include "text/TextOps.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace ql {
namespace {

namespace reference = fuzz::reference;

class WalkCrossCheck : public testing::Test {
protected:
    // Few distinct bytes so that needles hit often, at first and second bytes alike.
    std::string randomText(std::size_t maxLength)
    {
        static constexpr char kAlphabet[] = {'a', 'A', 'b', '<', '>', ' ', '\xA1', '\xB0', '\xE1'};
        std::string text(pick(maxLength + 1), ' ');
        for (char& byte : text)
            byte = kAlphabet[pick(sizeof kAlphabet)];
        return text;
    }

    // Half the needles are cut out of the text at any byte, the rest random.
    std::string randomNeedle(const std::string& text)
    {
        const std::size_t length = 1 + pick(4);
        if (!text.empty() && pick(2) == 0) {
            const std::size_t at = pick(text.size());
            return text.substr(at, length);
        }
        return randomText(length).substr(0, length) + (pick(3) == 0 ? "" : "a");
    }

    std::optional<int> randomOptional(int low, int high)
    {
        if (pick(3) == 0)
            return std::nullopt;
        return low + static_cast<int>(pick(static_cast<std::size_t>(high - low + 1)));
    }

    std::size_t pick(std::size_t bound)
    {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_);
    }

    static constexpr int kRounds = 20000;

private:
    std::mt19937 random_{20261211};
};

TEST_F(WalkCrossCheck, FindText)
{
    for (int round = 0; round < kRounds; ++round) {
        const std::string text = randomText(40);
        const std::string sought = randomNeedle(text);
        const std::optional<int> start = randomOptional(-2, 45);
        const bool ignoreCase = pick(2) == 0;
        ASSERT_EQ(findText(Text(text), Text(sought), start, ignoreCase),
                  reference::findText(text, sought, start, ignoreCase))
            << testing::PrintToString(text) << " / " << testing::PrintToString(sought);
    }
}

TEST_F(WalkCrossCheck, ReplaceText)
{
    for (int round = 0; round < kRounds; ++round) {
        const std::string text = randomText(40);
        const std::string sought = randomNeedle(text);
        const std::string replacement = randomText(3);
        const std::optional<int> start = randomOptional(-2, 45);
        const std::optional<int> limit = randomOptional(-1, 4);
        const bool caseSensitive = pick(2) == 0;
        ASSERT_EQ(replaceText(Text(text), Text(sought), Text(replacement), start, limit,
                              caseSensitive)
                      .str(),
                  reference::replaceText(text, sought, replacement, start, limit, caseSensitive))
            << testing::PrintToString(text) << " / " << testing::PrintToString(sought);
    }
}

TEST_F(WalkCrossCheck, SplitText)
{
    for (int round = 0; round < kRounds; ++round) {
        const std::string text = randomText(40);
        const std::string delimiter = randomNeedle(text);
        std::vector<std::string> pieces;
        for (const Text& piece : splitText(Text(text), Text(delimiter)))
            pieces.push_back(piece.str());
        ASSERT_EQ(pieces, reference::splitText(text, delimiter))
            << testing::PrintToString(text) << " / " << testing::PrintToString(delimiter);
    }
}

// Long runs of lead-range bytes are where a hit's alignment is hardest to see.
TEST_F(WalkCrossCheck, LongHighByteRuns)
{
    for (int round = 0; round < 500; ++round) {
        std::string text(pick(300), '\xA1');
        text += randomText(10);
        text += std::string(pick(300), '\xB0');
        const std::string sought = randomNeedle(text);
        ASSERT_EQ(findText(Text(text), Text(sought)), reference::findText(text, sought, {}, false));
        ASSERT_EQ(replaceText(Text(text), Text(sought), Text("-"), {}, {}, true).str(),
                  reference::replaceText(text, sought, "-", {}, {}, true));
    }
}

} // namespace
} // namespace ql
