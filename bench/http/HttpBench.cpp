// httpRequest against a loopback server, next to a bare libcurl easy GET of
// the same address (a fresh handle per request, body into memory).
//
//   RESULT httpRequest-1KiB  <ours req/s> <floor req/s> <ratio>
//   RESULT httpRequest-64MiB <ours MB/s>  <floor MB/s>  <ratio>
//
// The peak memory of one 64 MiB request is measured in a fresh child process
// (this program run with --memory-probe URL), so neither the server nor the
// floor's buffers count.

#include "http/HttpRequest.h"

#include <curl/curl.h>
#include <httplib.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kSmallBody = 1024;
constexpr std::size_t kLargeBody = 64u << 20;
constexpr int kSmallTurns = 5;
constexpr auto kSmallRoundTime = std::chrono::milliseconds(1000);
constexpr int kLargeTurns = 5;

std::size_t appendToString(char* data, std::size_t size, std::size_t count, void* target)
{
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

std::size_t bareCurlGet(const std::string& url)
{
    std::string body;
    CURL* easy = curl_easy_init();
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &appendToString);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_perform(easy);
    curl_easy_cleanup(easy);
    return body.size();
}

// Like the floor, one buffer comes back: the result text (the bodies served
// hold no zero byte, so it is the whole body).
std::size_t oursGet(const std::string& url)
{
    return ql::http::httpRequest(ql::Text(url)).size();
}

// Requests per second over a fixed time.
double requestsPerSecond(const std::function<std::size_t()>& get, std::size_t expectedSize)
{
    const auto start = Clock::now();
    int count = 0;
    while (Clock::now() - start < kSmallRoundTime) {
        if (get() != expectedSize)
            std::fprintf(stderr, "wrong body size\n");
        ++count;
    }
    return count / std::chrono::duration<double>(Clock::now() - start).count();
}

double megabytesPerSecond(const std::function<std::size_t()>& get)
{
    const auto start = Clock::now();
    const std::size_t size = get();
    if (size != kLargeBody)
        std::fprintf(stderr, "wrong body size %zu\n", size);
    return size / 1e6 / std::chrono::duration<double>(Clock::now() - start).count();
}

// Ours and the floor take turns, so that a busy moment of the machine hits
// both alike; the best turn of each counts.
void compare(const char* name, int turns, const std::function<double()>& ours, const std::function<double()>& floor)
{
    double bestOurs = 0, bestFloor = 0;
    for (int turn = 0; turn < turns; ++turn) {
        bestOurs = std::max(bestOurs, ours());
        bestFloor = std::max(bestFloor, floor());
    }
    std::printf("RESULT %s %.1f %.1f %.3f\n", name, bestOurs, bestFloor, bestFloor > 0 ? bestOurs / bestFloor : 0.0);
}

long maxRssKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int memoryProbe(const std::string& url)
{
    oursGet(url + "/small"); // libraries loaded and set up before the baseline
    const long before = maxRssKiB();
    const std::size_t size = oursGet(url + "/large");
    std::printf("%ld %zu\n", maxRssKiB() - before, size);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    if (argc == 3 && std::string(argv[1]) == "--memory-probe")
        return memoryProbe(argv[2]);

    const std::string smallBody(kSmallBody, 'x');
    std::string pattern(1 << 16, '\0');
    for (std::size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<char>('a' + i % 26);

    httplib::Server server;
    server.Get("/small", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(smallBody, "text/plain");
    });
    server.Get("/large", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(kLargeBody, "application/octet-stream",
                                 [&](std::size_t, std::size_t length, httplib::DataSink& sink) {
                                     sink.write(pattern.data(), std::min(length, pattern.size()));
                                     return true;
                                 });
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { server.listen_after_bind(); });
    const std::string origin = "http://127.0.0.1:" + std::to_string(port);

    const std::string small = origin + "/small";
    const std::string large = origin + "/large";
    compare("httpRequest-1KiB", kSmallTurns,
            [&] { return requestsPerSecond([&] { return oursGet(small); }, kSmallBody); },
            [&] { return requestsPerSecond([&] { return bareCurlGet(small); }, kSmallBody); });
    compare("httpRequest-64MiB", kLargeTurns, [&] { return megabytesPerSecond([&] { return oursGet(large); }); },
            [&] { return megabytesPerSecond([&] { return bareCurlGet(large); }); });

    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
        return 1;
    const std::string probe = std::string(self) + " --memory-probe " + origin;
    if (FILE* child = popen(probe.c_str(), "r")) {
        long peakKiB = 0;
        std::size_t size = 0;
        if (std::fscanf(child, "%ld %zu", &peakKiB, &size) == 2)
            std::printf("MEMORY httpRequest-64MiB peak %.1f MiB for a %.1f MiB body (%.2f x the body)\n",
                        peakKiB / 1024.0, size / 1048576.0, peakKiB * 1024.0 / static_cast<double>(size));
        pclose(child);
    }

    server.stop();
    serving.join();
    curl_global_cleanup();
    return 0;
}
