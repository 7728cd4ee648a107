// What the engine asks of the layer before sending: the address parts, the
// session and its proxy, the verb, time-outs, credentials and options.

#include "EngineFixture.h"

#include <optional>

namespace ql::http::testing {
namespace {

struct AddressCase {
    const char* name;
    const char* url;
    std::u16string host;
    std::int64_t port;
    std::u16string objectName;
    bool secure;
};

const AddressCase kAddressCases[] = {
    {"pathAndQuery", "http://example.test/qwg/find.php?w=x", u"example.test", 80,
     u"/qwg/find.php?w=x", false},
    {"noPath", "http://example.test", u"example.test", 80, u"/", false},
    // The query of an address without a path is not lost.
    {"queryWithoutPath", "http://example.test?w=1", u"example.test", 80, u"/?w=1", false},
    {"namedPort", "http://example.test:8080/a", u"example.test", 8080, u"/a", false},
    {"httpsDefaultPort", "https://example.test/", u"example.test", 443, u"/", true},
    {"httpsNamedPort", "HTTPS://example.test:8443/s", u"example.test", 8443, u"/s", true},
    {"chineseQuery", "http://example.test/f?w=\xCC\xE2" "abc", u"example.test", 80, u"/f?w=题abc",
     false}, // "题" in GBK
};

class AddressTest : public EngineFixture, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(AddressTest, ConnectsAndOpensTheObject)
{
    const AddressCase& c = GetParam();
    run(Text(c.url));

    const auto connects = fake.callsOf(Operation::Connect);
    ASSERT_EQ(connects.size(), 1u);
    EXPECT_EQ(connects[0].handle, FakeWinHttpLayer::kSession);
    EXPECT_EQ(connects[0].text, c.host);
    EXPECT_EQ(connects[0].numbers, (std::vector<std::int64_t>{c.port}));
    const auto requests = fake.callsOf(Operation::OpenRequest);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].handle, FakeWinHttpLayer::kConnection);
    EXPECT_EQ(requests[0].secondText, c.objectName);
    EXPECT_EQ(requests[0].numbers, (std::vector<std::int64_t>{c.secure ? 1 : 0}));
}

INSTANTIATE_TEST_SUITE_P(Cases, AddressTest, ::testing::ValuesIn(kAddressCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineFixture, UnusableAddressesFailWith701)
{
    for (const char* url : {"", "example.test/page", "ftp://example.test/"}) {
        SCOPED_TRACE(url);
        FakeWinHttpLayer layer;
        Text status;
        HttpRequestArgs request;
        request.statusText = &status;
        EXPECT_EQ(httpRequest(layer, Text(url), request), Text());
        EXPECT_EQ(utf8(status), "701 解析URL地址失败!");
    }
}

struct MethodCase {
    int method;
    std::u16string verb;
};

class MethodTest : public EngineFixture, public ::testing::WithParamInterface<MethodCase> {};

TEST_P(MethodTest, PicksTheVerb)
{
    args.method = GetParam().method;
    run();
    const auto requests = fake.callsOf(Operation::OpenRequest);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].text, GetParam().verb);
}

INSTANTIATE_TEST_SUITE_P(Table, MethodTest,
                         ::testing::Values(MethodCase{0, u"GET"}, MethodCase{1, u"POST"},
                                           MethodCase{2, u"HEAD"}, MethodCase{3, u"PUT"},
                                           MethodCase{4, u"OPTIONS"}, MethodCase{5, u"DELETE"},
                                           MethodCase{6, u"TRACE"}, MethodCase{7, u"CONNECT"},
                                           MethodCase{8, u"GET"}, MethodCase{-1, u"GET"}));

class TimeoutTest : public EngineFixture,
                    public ::testing::WithParamInterface<std::pair<int, std::int64_t>> {};

TEST_P(TimeoutTest, SetsAllFourTimeouts)
{
    args.timeoutSeconds = GetParam().first;
    run();
    const auto calls = fake.callsOf(Operation::SetTimeouts);
    ASSERT_EQ(calls.size(), 1u);
    const std::int64_t t = GetParam().second;
    EXPECT_EQ(calls[0].numbers, (std::vector<std::int64_t>{t, t, t, t}));
}

INSTANTIATE_TEST_SUITE_P(Values, TimeoutTest,
                         ::testing::Values(std::pair{0, 30000}, std::pair{-5, 30000}, std::pair{5, 5000},
                                           std::pair{1, 1000}, std::pair{3000000, 2147483647}));

struct CredentialCase {
    const char* name;
    const char* userName;
    const char* password;
    const char* proxyUserName;
    const char* proxyPassword;
    // target, user, password of each call made, in order
    std::vector<std::tuple<std::int64_t, std::u16string, std::u16string>> expected;
};

const CredentialCase kCredentialCases[] = {
    {"none", "", "", "", "", {}},
    {"server", "u", "p", "", "", {{0, u"u", u"p"}}},
    {"serverWithoutPassword", "u", "", "", "", {}},
    {"serverWithoutUser", "", "p", "", "", {}},
    {"proxy", "", "", "pu", "pp", {{1, u"pu", u"pp"}}},
    {"proxyWithoutPassword", "", "", "pu", "", {}},
    {"both", "u", "p", "pu", "pp", {{0, u"u", u"p"}, {1, u"pu", u"pp"}}},
    {"lineBreaksTakenOut", "u\r\nX: 1", "p\n", "", "", {{0, u"uX: 1", u"p"}}},
    {"onlyLineBreaksIsEmpty", "u", "\r\n", "", "", {}},
};

class CredentialTest : public EngineFixture, public ::testing::WithParamInterface<CredentialCase> {};

TEST_P(CredentialTest, SetsCredentialsOnlyForCompletePairs)
{
    const CredentialCase& c = GetParam();
    args.userName = c.userName;
    args.password = c.password;
    args.proxyUserName = c.proxyUserName;
    args.proxyPassword = c.proxyPassword;

    run();

    std::vector<std::tuple<std::int64_t, std::u16string, std::u16string>> made;
    for (const RecordedCall& call : fake.callsOf(Operation::SetCredentials))
        made.emplace_back(call.numbers.at(0), call.text, call.secondText);
    EXPECT_EQ(made, c.expected);
    EXPECT_EQ(statusText, Text("200 OK"));
}

INSTANTIATE_TEST_SUITE_P(Pairs, CredentialTest, ::testing::ValuesIn(kCredentialCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct ProxyCase {
    const char* name;
    const char* proxy;
    const char* url;
    std::int64_t accessType;
    std::u16string proxyName;
};

const ProxyCase kProxyCases[] = {
    {"noProxy", "", "http://example.test/", 1, u""},
    {"httpAddress", "proxy.test:3128", "http://example.test/", 3, u"http=proxy.test:3128"},
    {"httpsAddress", "proxy.test:3128", "https://example.test/", 3, u"proxy.test:3128"},
    {"lineBreaksTakenOut", "proxy.test:3128\r\n", "http://example.test/", 3, u"http=proxy.test:3128"},
};

class ProxyTest : public EngineFixture, public ::testing::WithParamInterface<ProxyCase> {};

TEST_P(ProxyTest, OpensTheSessionWithTheProxyName)
{
    args.proxy = GetParam().proxy;
    run(Text(GetParam().url));
    const auto opens = fake.callsOf(Operation::Open);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].numbers, (std::vector<std::int64_t>{GetParam().accessType}));
    EXPECT_EQ(opens[0].text, GetParam().proxyName);
}

INSTANTIATE_TEST_SUITE_P(Names, ProxyTest, ::testing::ValuesIn(kProxyCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct OptionCase {
    const char* name;
    std::optional<const char*> sentCookies;
    bool disableRedirects;
    std::vector<std::vector<std::int64_t>> expected; // option, value of each call
};

const OptionCase kOptionCases[] = {
    {"cookiesLeftOut", std::nullopt, false, {{63, 1}}},
    {"cookiesGivenEmpty", "", false, {{79, 1}}},
    {"cookiesGiven", "a=1", false, {{79, 1}}},
    {"redirectsDisabled", std::nullopt, true, {{63, 1}, {63, 2}}},
    {"cookiesAndRedirects", "a=1", true, {{79, 1}, {63, 2}}},
};

class OptionTest : public EngineFixture, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(OptionTest, SetsTheChosenOptions)
{
    Text sentCookies;
    if (GetParam().sentCookies) {
        sentCookies = Text(*GetParam().sentCookies);
        args.sentCookies = &sentCookies;
    }
    args.disableRedirects = GetParam().disableRedirects;
    run();
    std::vector<std::vector<std::int64_t>> made;
    for (const RecordedCall& call : fake.callsOf(Operation::SetOption)) {
        EXPECT_EQ(call.handle, FakeWinHttpLayer::kRequest);
        made.push_back(call.numbers);
    }
    EXPECT_EQ(made, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, OptionTest, ::testing::ValuesIn(kOptionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineFixture, CallsTheLayerInOrderAndSendsThePostDataBytes)
{
    args.method = 1;
    args.postData = gbk("q=题目");
    run();
    EXPECT_EQ(fake.operations(),
              (std::vector<Operation>{
                  Operation::CheckPlatform, Operation::CrackUrl, Operation::Open, Operation::Connect,
                  Operation::OpenRequest, Operation::SetTimeouts, Operation::SetOption,
                  Operation::AddRequestHeaders, Operation::SendRequest, Operation::ReceiveResponse,
                  Operation::QueryDataAvailable, Operation::QueryRawHeaders,
                  Operation::QueryRawHeaders, Operation::CloseHandle, Operation::CloseHandle,
                  Operation::CloseHandle}));
    const auto sends = fake.callsOf(Operation::SendRequest);
    ASSERT_EQ(sends.size(), 1u);
    EXPECT_EQ(sends[0].body, "q=\xCC\xE2\xC4\xBF"); // "q=题目" in GBK, no terminator
}

TEST_F(EngineFixture, EmptyPostDataSendsNoBody)
{
    run();
    const auto sends = fake.callsOf(Operation::SendRequest);
    ASSERT_EQ(sends.size(), 1u);
    EXPECT_EQ(sends[0].body, "");
}

} // namespace
} // namespace ql::http::testing
