// bench-lookup: searches per second of onSearchClicked with the real engine
// against the bundled server on loopback, beside the least any search must
// do: one bare libcurl GET of the same address on a fresh handle (the engine
// opens its own connection per request too) and one ICU UTF-8 to GBK
// conversion of the reply. Rounds of both alternate; on a shared machine
// other work only ever slows a round down, so each side's best round counts.

#include "ServerProcess.h"
#include "lookup/Addresses.h"
#include "lookup/QuestionLookup.h"

#include <curl/curl.h>
#include <unicode/ucnv.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kQuestion = "\xC3\xF7\xD4\xC2"; // "明月": eight matches in the bench bank
constexpr int kRounds = 7;
constexpr double kSecondsPerRound = 1.0;

struct DiscardingView : ql::lookup::LookupView {
    int rowsShown = 0;
    ql::Text questionText() const override { return kQuestion; }
    void showResult(int, const ql::Text&) override { ++rowsShown; }
    void openAddress(const ql::Text&) override {}
};

double operationsPerSecond(const std::function<void()>& operation)
{
    const auto start = Clock::now();
    long count = 0;
    std::chrono::duration<double> elapsed{};
    do {
        operation();
        ++count;
        elapsed = Clock::now() - start;
    } while (elapsed.count() < kSecondsPerRound);
    return static_cast<double>(count) / elapsed.count();
}

double best(const std::vector<double>& rates) { return *std::max_element(rates.begin(), rates.end()); }

struct CurlDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ConverterDeleter {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterDeleter>;

std::size_t appendBody(char* data, std::size_t size, std::size_t count, void* body)
{
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

// The floor: GET on a fresh handle, then UTF-8 -> UTF-16 -> GBK.
class BareSearch {
public:
    explicit BareSearch(std::string address) : address_(std::move(address))
    {
        UErrorCode status = U_ZERO_ERROR;
        utf8_.reset(ucnv_open("UTF-8", &status));
        gbk_.reset(ucnv_open("GBK", &status));
    }

    std::size_t operator()()
    {
        std::string body;
        std::unique_ptr<CURL, CurlDeleter> easy(curl_easy_init());
        curl_easy_setopt(easy.get(), CURLOPT_URL, address_.c_str());
        curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, appendBody);
        curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &body);
        curl_easy_perform(easy.get());

        UErrorCode status = U_ZERO_ERROR;
        wide_.resize(body.size() + 1);
        const int32_t units = ucnv_toUChars(utf8_.get(), wide_.data(),
                                            static_cast<int32_t>(wide_.size()), body.data(),
                                            static_cast<int32_t>(body.size()), &status);
        gbk_bytes_.resize(static_cast<std::size_t>(units) * 2 + 1);
        status = U_ZERO_ERROR;
        return static_cast<std::size_t>(ucnv_fromUChars(gbk_.get(), gbk_bytes_.data(),
                                                        static_cast<int32_t>(gbk_bytes_.size()),
                                                        wide_.data(), units, &status));
    }

private:
    std::string address_;
    Converter utf8_;
    Converter gbk_;
    std::vector<UChar> wide_;
    std::vector<char> gbk_bytes_;
};

} // namespace

int main()
{
    ql::bench::ServerProcess server(QL_BENCH_SERVER, QL_BENCH_BANK);
    if (server.host().empty()) {
        std::fprintf(stderr, "bench-lookup: the question-bank server did not start\n");
        return 1;
    }
    curl_global_init(CURL_GLOBAL_DEFAULT);

    DiscardingView view;
    ql::lookup::QuestionLookup lookup(view, ql::Text(server.host()),
                                      ql::lookup::networkRequestEngine());
    lookup.onSearchClicked();
    if (view.rowsShown != 6) {
        std::fprintf(stderr, "bench-lookup: a search showed %d rows, expected 6\n", view.rowsShown);
        return 1;
    }
    BareSearch bare(ql::lookup::searchAddress(ql::Text(server.host()), kQuestion).str());
    if (bare() == 0) {
        std::fprintf(stderr, "bench-lookup: the bare GET read nothing\n");
        return 1;
    }

    // The engine alone, with the same request, shows which side a gap is on.
    const ql::Text address = ql::lookup::searchAddress(ql::Text(server.host()), kQuestion);
    const auto engineAlone = [&] {
        ql::Bytes body;
        ql::http::HttpRequestArgs get;
        get.responseBody = &body;
        ql::http::httpRequest(address, get);
    };

    std::vector<double> ours;
    std::vector<double> floor;
    std::vector<double> engine;
    for (int round = 0; round < kRounds; ++round) {
        ours.push_back(operationsPerSecond([&] { lookup.onSearchClicked(); }));
        floor.push_back(operationsPerSecond([&] { bare(); }));
        engine.push_back(operationsPerSecond(engineAlone));
    }
    const double oursRate = best(ours);
    const double floorRate = best(floor);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("search: best of %d rounds, searches/s; httpRequest alone %.1f/s; peak memory of "
                "this process %ld KiB\n",
                kRounds, best(engine), usage.ru_maxrss);
    std::printf("RESULT search %.1f %.1f %.3f\n", oursRate, floorRate, oursRate / floorRate);
    curl_global_cleanup();
    return 0;
}
