#include "http/UrlCracker.h"

#include <gtest/gtest.h>

namespace ql::http {
namespace {

struct CrackCase {
    const char* name;
    std::u16string_view url;
    bool ok;
    Scheme scheme = Scheme::Http;
    std::u16string_view host = u"";
    std::uint16_t port = 0;
    std::u16string_view path = u"";
    std::u16string_view extra = u"";
};

const CrackCase kCrackCases[] = {
    {"PlainHttp", u"http://example.com/a/b", true, Scheme::Http, u"example.com", 80, u"/a/b", u""},
    {"HttpsDefaultPort", u"https://example.com/", true, Scheme::Https, u"example.com", 443, u"/", u""},
    {"SchemeIgnoresCase", u"HtTpS://h/x", true, Scheme::Https, u"h", 443, u"/x", u""},
    {"ExplicitPort", u"http://h:8080/x", true, Scheme::Http, u"h", 8080, u"/x", u""},
    {"EmptyPortIsDefault", u"http://h:/x", true, Scheme::Http, u"h", 80, u"/x", u""},
    {"EmptyPortNoPath", u"http://h:", true, Scheme::Http, u"h", 80, u"", u""},
    {"PortZeroAccepted", u"http://h:0/", true, Scheme::Http, u"h", 0, u"/", u""},
    {"HighestPort", u"http://h:65535/", true, Scheme::Http, u"h", 65535, u"/", u""},
    {"QuerySplitsAtQuestionMark", u"https://h/post?", true, Scheme::Https, u"h", 443, u"/post", u"?"},
    {"QueryKeepsFragment", u"http://h/p?q=1#frag", true, Scheme::Http, u"h", 80, u"/p", u"?q=1#frag"},
    {"FragmentWithoutQueryEndsPath", u"http://h/p#frag", true, Scheme::Http, u"h", 80, u"/p", u"#frag"},
    {"EmptyPathWithQuery", u"http://h?x=1", true, Scheme::Http, u"h", 80, u"", u"?x=1"},
    {"SemicolonStaysInPath", u"http://winehq/post;a", true, Scheme::Http, u"winehq", 80, u"/post;a", u""},
    {"AtAfterPathIsNotUserInfo", u"http://h/a@b", true, Scheme::Http, u"h", 80, u"/a@b", u""},
    {"NonAsciiPathKept", u"http://h/\u9898?w=\u4E2D", true, Scheme::Http, u"h", 80, u"/\u9898", u"?w=\u4E2D"},
    {"Ipv6Literal", u"http://[::1]:81/x", true, Scheme::Http, u"[::1]", 81, u"/x", u""},
    {"EmptyUrl", u"", false},
    {"NoColon", u"www.winehq.org", false},
    {"JustScheme", u"http", false},
    {"FtpScheme", u"ftp://h/", false},
    {"NoSlashes", u"HTTP:www.winehq.org", false},
    {"OneSlash", u"http:/www.winehq.org", false},
    {"EmptyHost", u"http://", false},
    {"EmptyHostWithPath", u"http:///x", false},
    {"PortTooLarge", u"http://h:65536/", false},
    {"PortNotDigits", u"http://h:8a/", false},
    {"PortWithSign", u"http://h:+80/", false},
    {"BlankInHost", u"http://a b/", false},
    {"CrLfInHost", u"http://a\r\nX-Evil: 1/", false},
    {"TabInHost", u"http://a\tb/", false},
    {"UserInfoNotSupported", u"http://user@h/", false},
    {"UnclosedIpv6", u"http://[::1/", false},
};

class UrlCrackerTest : public ::testing::TestWithParam<CrackCase> {};

TEST_P(UrlCrackerTest, SplitsLikeWinHttp)
{
    const CrackCase& c = GetParam();
    CrackedUrl out;
    out.host = u"untouched";
    ASSERT_EQ(crackHttpUrl(c.url, out), c.ok);
    if (!c.ok) {
        EXPECT_EQ(out.host, u"untouched");
        return;
    }
    EXPECT_EQ(out.scheme, c.scheme);
    EXPECT_EQ(out.host, c.host);
    EXPECT_EQ(out.port, c.port);
    EXPECT_EQ(out.urlPath, c.path);
    EXPECT_EQ(out.extraInfo, c.extra);
}

INSTANTIATE_TEST_SUITE_P(Cases, UrlCrackerTest, ::testing::ValuesIn(kCrackCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ql::http
