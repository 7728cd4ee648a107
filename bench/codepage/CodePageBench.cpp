// Throughput of the GBK conversions against plain ICU converter calls doing
// the same conversion over the same 64 MiB text. Prints one line per case:
//   RESULT <case> <ours MB/s> <floor MB/s> <ours / floor>
// with MB/s counted over input bytes, best of several repetitions.

#include "text/CodePage.h"
#include "text/IcuConverter.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <random>
#include <string>

namespace {

constexpr std::size_t kTextBytes = 64u << 20;
constexpr int kRepetitions = 5;

ql::IcuConverter openConverter(const char* name)
{
    ql::IcuConverter converter(name);
    if (!converter.get()) {
        std::fprintf(stderr, "cannot open the ICU converter %s\n", name);
        std::exit(1);
    }
    ucnv_setFallback(converter.get(), true);
    return converter;
}

// Question-like text: runs of common ideographs (GB2312 level 1 and 2)
// between runs of ASCII words, digits and punctuation.
std::string makeGbkText(std::size_t size)
{
    static const char kAscii[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,:;()<>/=-";
    std::mt19937 random(1234);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    std::string text;
    text.reserve(size + 32);
    while (text.size() < size) {
        if (pick(0, 9) < 6) {
            for (int k = pick(1, 12); k > 0; --k) {
                text.push_back(static_cast<char>(pick(0xB0, 0xF7)));
                text.push_back(static_cast<char>(pick(0xA1, 0xFE)));
            }
        } else {
            for (int k = pick(1, 10); k > 0; --k)
                text.push_back(kAscii[pick(0, sizeof kAscii - 2)]);
        }
    }
    // Stop on a character boundary.
    while (text.size() > size)
        text.pop_back();
    std::size_t end = 0;
    while (end < text.size())
        end += static_cast<unsigned char>(text[end]) >= 0x81 ? 2 : 1;
    text.resize(end > text.size() ? end - 2 : end);
    return text;
}

// CPU time of this thread, page faults included: on a busy machine wall
// time would also count the time the thread waits for a processor.
double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double bestSeconds(const std::function<void()>& run)
{
    double best = 1e30;
    for (int k = 0; k < kRepetitions; ++k) {
        const double start = threadSeconds();
        run();
        best = std::min(best, threadSeconds() - start);
    }
    return best;
}

void report(const char* name, std::size_t inputBytes, double oursSeconds, double floorSeconds, bool same)
{
    const double ours = static_cast<double>(inputBytes) / 1e6 / oursSeconds;
    const double floor = static_cast<double>(inputBytes) / 1e6 / floorSeconds;
    if (!same)
        std::fprintf(stderr, "%s: results differ from ICU\n", name);
    std::printf("RESULT %s %.1f %.1f %.2f\n", name, ours, floor, ours / floor);
    std::fflush(stdout);
}

std::u16string icuDecode(UConverter* converter, std::string_view bytes)
{
    std::u16string units(bytes.size() + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(converter, units.data(), static_cast<int32_t>(units.size()),
                                         bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    units.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    return units;
}

std::string icuEncode(UConverter* converter, std::u16string_view units)
{
    std::string bytes(units.size() * static_cast<std::size_t>(ucnv_getMaxCharSize(converter)) + 1, '\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_fromUChars(converter, bytes.data(), static_cast<int32_t>(bytes.size()),
                                           units.data(), static_cast<int32_t>(units.size()), &status);
    bytes.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    return bytes;
}

} // namespace

int main()
{
    const ql::IcuConverter gbk = openConverter("windows-936-2000");
    const ql::IcuConverter utf8 = openConverter("UTF-8");

    const ql::Text gbkText(makeGbkText(kTextBytes));
    const std::u16string wide = icuDecode(gbk.get(), gbkText.view());
    const ql::Bytes utf16(wide.data(), wide.size() * 2);
    const std::string utf8Text = icuEncode(utf8.get(), wide);

    {
        ql::Bytes ours;
        std::u16string floor;
        const double oursSeconds = bestSeconds([&] { ours = ql::gbkToUtf16(gbkText); });
        const double floorSeconds = bestSeconds([&] { floor = icuDecode(gbk.get(), gbkText.view()); });
        floor.push_back(u'\0');
        const bool same = ours.size() == floor.size() * 2 && std::memcmp(ours.data(), floor.data(), ours.size()) == 0;
        report("gbkToUtf16", gbkText.size(), oursSeconds, floorSeconds, same);
    }
    {
        ql::Text ours;
        std::string floor;
        const double oursSeconds = bestSeconds([&] { ours = ql::utf16ToGbk(utf16); });
        const double floorSeconds = bestSeconds([&] { floor = icuEncode(gbk.get(), wide); });
        report("utf16ToGbk", utf16.size(), oursSeconds, floorSeconds, ours.str() == floor);
    }
    {
        ql::Text ours;
        std::string floor;
        const double oursSeconds = bestSeconds([&] { ours = ql::utf8ToGbk(utf8Text); });
        const double floorSeconds =
            bestSeconds([&] { floor = icuEncode(gbk.get(), icuDecode(utf8.get(), utf8Text)); });
        report("utf8ToGbk", utf8Text.size(), oursSeconds, floorSeconds, ours.str() == floor);
    }
    return 0;
}
