#pragma once
// What every fuzz target shares: a reader that cuts the raw input into
// option bytes and fields, and a check that stops the run with a message
// when an invariant breaks (a plain abort, so that both libFuzzer and the
// replay runner report the input as failing).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace ql::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size)
    {}

    // 0 once the input is used up.
    std::uint8_t byte()
    {
        if (rest_.empty())
            return 0;
        const auto value = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return value;
    }
    bool flag(std::uint8_t bits, int bit) const { return (bits >> bit) & 1; }
    // A small signed number, -8..7, for positions and counts near the edges.
    int smallInt() { return int(byte() % 16) - 8; }

    // The bytes up to the next zero byte, which is consumed. A Text can
    // never hold a zero byte, so it is the natural field separator.
    std::string_view field()
    {
        const std::size_t end = rest_.find('\0');
        const std::string_view value = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        return value;
    }
    std::string_view rest()
    {
        const std::string_view value = rest_;
        rest_ = {};
        return value;
    }

private:
    std::string_view rest_;
};

// Whether `text` holds no zero byte, as every Text must.
inline bool isZeroFree(std::string_view text)
{
    return text.find('\0') == std::string_view::npos;
}

} // namespace ql::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
