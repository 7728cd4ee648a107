#include "http/RedirectCookieJar.h"

#include <gtest/gtest.h>

namespace ql::http {
namespace {

struct JarCase {
    const char* name;
    std::vector<std::string> setCookies; // set by a reply from a.example.com for /dir/page
    std::string_view host;
    std::string_view path;
    bool secure;
    std::string_view expected;
};

const JarCase kJarCases[] = {
    {"HostOnlyBySameHost", {"s=1"}, "a.example.com", "/dir/next", false, "s=1"},
    {"HostOnlyNotBySibling", {"s=1"}, "b.example.com", "/dir/next", false, ""},
    {"HostIgnoresCase", {"s=1"}, "A.Example.COM", "/dir/x", false, "s=1"},
    {"DefaultPathIsTheDirectory", {"s=1"}, "a.example.com", "/other", false, ""},
    {"DomainCoversSubdomains", {"s=1; Domain=.example.com; Path=/"}, "b.example.com", "/", false, "s=1"},
    {"ForeignDomainRejected", {"s=1; Domain=other.com; Path=/"}, "other.com", "/", false, ""},
    {"PathPrefixOnSegments", {"s=1; Path=/di"}, "a.example.com", "/dir", false, ""},
    {"SecureOnlyOverHttps", {"s=1; Path=/; Secure"}, "a.example.com", "/", false, ""},
    {"SecureOverHttps", {"s=1; Path=/; Secure"}, "a.example.com", "/", true, "s=1"},
    {"MaxAgeZeroDeletes", {"s=1; Path=/", "s=; Path=/; Max-Age=0"}, "a.example.com", "/", false, ""},
    {"PastExpiryDeletes", {"s=1; Path=/", "s=2; Path=/; Expires=Thu, 01 Jan 1970 00:00:00 GMT"}, "a.example.com", "/",
     false, ""},
    {"LaterValueReplaces", {"s=1; Path=/", "s=2; Path=/"}, "a.example.com", "/", false, "s=2"},
    {"SeveralJoined", {"a=1; Path=/", "b=2; Path=/"}, "a.example.com", "/x", false, "a=1; b=2"},
    {"NoEqualsIgnored", {"garbage; Path=/"}, "a.example.com", "/", false, ""},
};

class RedirectCookieJarTest : public ::testing::TestWithParam<JarCase> {};

TEST_P(RedirectCookieJarTest, SendsWhatMatches)
{
    RedirectCookieJar jar;
    jar.store(GetParam().setCookies, "a.example.com", "/dir/page");
    EXPECT_EQ(jar.cookiesFor(GetParam().host, GetParam().path, GetParam().secure), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RedirectCookieJarTest, ::testing::ValuesIn(kJarCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ql::http
