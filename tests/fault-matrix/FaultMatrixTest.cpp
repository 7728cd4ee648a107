// Servers that break off, stall, flood or speak oddly, each met by one
// httpRequest over the real libcurl layer. The table in README.md lists the
// same cases with their outcomes.

#include "FaultRequest.h"
#include "RawServer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <netinet/in.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

namespace ql::http::testing {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

constexpr std::string_view kBrokenBodyHead = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n";
constexpr std::string_view kPartial = "partial";

// The client has time to read what was sent before the connection goes.
void letClientRead()
{
    std::this_thread::sleep_for(300ms);
}

std::string gzipOfZeros(std::size_t count)
{
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY); // gzip wrapper
    const std::string zeros(count, '\0');
    std::string packed(deflateBound(&stream, uLong(count)), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
    stream.avail_in = uInt(zeros.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = uInt(packed.size());
    deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    return packed;
}

const std::string& gzipBomb()
{
    static const std::string bomb = gzipOfZeros(64u << 20); // 64 MiB of zeros, about 64 KiB packed
    return bomb;
}

std::string thousandHeaders()
{
    std::string headers;
    for (int i = 0; i < 1000; ++i)
        headers += "X-Filler-" + std::to_string(i) + ": " + std::string(1024, 'h') + "\r\n";
    return headers;
}

struct FaultCase {
    const char* name;
    friend void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }
    std::function<void(RawConnection&)> serve;
    std::string_view statusText;
    std::string result;
    std::string body; // "untouched" when no response step ran
    int requests = 1;
};

const FaultCase kFaultCases[] = {
    {"AcceptAndNeverAnswer",
     [](RawConnection& c) {
         c.readRequest();
         c.holdOpen(10s);
     },
     failure::kReceive, "", "untouched"},
    {"ResetMidBody",
     [](RawConnection& c) {
         c.readRequest();
         c.send(std::string(kBrokenBodyHead) + std::string(kPartial));
         letClientRead();
         c.reset();
     },
     failure::kRead, "partial", "partial"},
    {"CloseShortOfContentLength",
     [](RawConnection& c) {
         c.readRequest();
         c.send(std::string(kBrokenBodyHead) + std::string(kPartial));
         letClientRead();
     },
     failure::kRead, "partial", "partial"},
    {"TruncatedChunkedBody",
     [](RawConnection& c) {
         c.readRequest();
         c.send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n10\r\nabc");
         letClientRead();
     },
     failure::kRead, "helloabc", "helloabc"},
    {"StallMidBodyPastTimeout",
     [](RawConnection& c) {
         c.readRequest();
         c.send(std::string(kBrokenBodyHead) + std::string(kPartial));
         c.holdOpen(10s);
     },
     failure::kRead, "partial", "partial"},
    {"MegabyteHeaderLine",
     [](RawConnection& c) {
         c.readRequest();
         c.send(httpResponse("200 OK", "X-Big: " + std::string(1 << 20, 'b') + "\r\n", "ok"));
     },
     failure::kReceive, "", "untouched"},
    {"ThousandHeadersOfOneKilobyte",
     [](RawConnection& c) {
         c.readRequest();
         c.send(httpResponse("200 OK", thousandHeaders(), "ok"));
     },
     failure::kReceive, "", "untouched"},
    {"NulInsideHeader",
     [](RawConnection& c) {
         c.readRequest();
         c.send(httpResponse("200 OK", "X-Nul: a\0b\r\nSet-Cookie: c=1\r\n"s, "ok"));
     },
     failure::kReceive, "", "untouched"},
    {"NulInsideBody",
     [](RawConnection& c) {
         c.readRequest();
         c.send(httpResponse("200 OK", "", "ab\0cd"s));
     },
     "200 OK", "ab", "ab\0cd"s},
    {"Http09Reply",
     [](RawConnection& c) {
         c.readRequest();
         c.send("hello from the past\n");
     },
     failure::kReceive, "", "untouched"},
    {"BareLineFeeds",
     [](RawConnection& c) {
         c.readRequest();
         c.send("HTTP/1.1 200 OK\nContent-Length: 2\nSet-Cookie: a=1\n\nhi");
     },
     "200 OK", "hi", "hi"},
    {"GzipBombStaysPacked",
     [](RawConnection& c) {
         c.readRequest();
         c.send(httpResponse("200 OK", "Content-Encoding: gzip\r\n", gzipBomb()));
     },
     "200 OK", "\x1F\x8B\x08", gzipBomb()},
};

class FaultMatrix : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultMatrix, EndsWithTheTabledOutcome)
{
    const FaultCase& c = GetParam();
    RawServer server(c.serve);
    HttpRequestArgs args;
    args.timeoutSeconds = 1;

    const Outcome outcome = request(server.origin() + "/fault", args);

    EXPECT_EQ(outcome.statusText.view(), c.statusText);
    EXPECT_EQ(outcome.result.view(), c.result);
    EXPECT_EQ(outcome.body.view(), c.body);
    EXPECT_EQ(int(server.requests().size()), c.requests);
}

INSTANTIATE_TEST_SUITE_P(Cases, FaultMatrix, ::testing::ValuesIn(kFaultCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FaultMatrixConnection, RefusedConnectionFailsTheSend)
{
    // A port that was just free and has no listener: the connection is refused.
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(probe);

    const Outcome outcome = request("http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/");

    EXPECT_EQ(outcome.statusText.view(), failure::kSend);
    EXPECT_EQ(outcome.result, Text());
    EXPECT_EQ(outcome.body, kUntouchedBody);
}

// The whole body is held in memory, as it must be; the peak is printed for
// the record, not judged.
TEST(FaultMatrixSize, HundredMebibyteBodyArrivesWhole)
{
    constexpr std::size_t kSize = std::size_t(100) << 20;
    RawServer server([](RawConnection& c) {
        c.readRequest();
        c.send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kSize) + "\r\n\r\n");
        const std::string slice(1 << 20, 'x');
        for (std::size_t sent = 0; sent < kSize; sent += slice.size())
            c.send(slice);
    });
    HttpRequestArgs args;
    args.timeoutSeconds = 10;

    const Outcome outcome = request(server.origin() + "/big", args);

    EXPECT_EQ(outcome.statusText.view(), "200 OK");
    EXPECT_EQ(outcome.body.size(), kSize);
    EXPECT_EQ(outcome.result.size(), kSize);
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory after a 100 MiB body: %ld MiB\n", usage.ru_maxrss / 1024);
    ::testing::Test::RecordProperty("peakResidentMiB", int(usage.ru_maxrss / 1024));
}

} // namespace
} // namespace ql::http::testing
