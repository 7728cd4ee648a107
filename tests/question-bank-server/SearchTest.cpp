// The search page over loopback: reply format, highlighting, short queries and hostile input.

#include "TestBank.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace ql::qbank::test {
namespace {

class SearchPageTest : public testing::Test {
protected:
    static void SetUpTestSuite() { server = new BankServer(); }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }

    // The reply to a search whose query string is given exactly as it goes on the wire.
    static httplib::Result search(const std::string& escapedQuery)
    {
        return server->client()->Get(("/qwg/chazhao.php?" + escapedQuery).c_str());
    }

    static BankServer* server;
};

BankServer* SearchPageTest::server = nullptr;

struct SearchCase {
    const char* name;
    const char* query;     // the query string as sent
    const char* expected;  // the whole reply body
};

const SearchCase searchCases[] = {
    {"ChineseTwoCharacters", "w=%E8%B4%A8%E6%95%B0",  // 质数
     "id:1题目:下列各数中，最小的<em>质数</em>是<br>共找到 1 道题"},
    {"ChineseThroughIndex", "w=%E7%89%9B%E9%A1%BF%E7%AC%AC%E4%BA%8C",  // 牛顿第二
     "id:2题目:<em>牛顿第二</em>定律的表达式是____<br>共找到 1 道题"},
    {"AsciiIgnoresCaseKeepsOriginal", "w=KEYWORD",
     "id:3题目:Which <em>keyword</em> declares a constant in C++?<br>共找到 1 道题"},
    {"EveryMatchInRowMarked", "w=%E6%B0%B4",  // 水
     "id:4题目:<em>水</em>的化学式是H2O，<em>水</em>由氢和氧组成<br>共找到 1 道题"},
    {"OneAsciiCharacterScans", "w=H2",
     "id:4题目:水的化学式是<em>H2</em>O，水由氢和氧组成<br>共找到 1 道题"},
    {"MixedChineseAndAscii", "w=%E6%98%AFH2O",  // 是H2O
     "id:4题目:水的化学式<em>是H2O</em>，水由氢和氧组成<br>共找到 1 道题"},
    {"Miss", "w=%E7%9B%B8%E5%AF%B9%E8%AE%BA", "共找到 0 道题"},  // 相对论
    {"MissShort", "w=zq", "共找到 0 道题"},
    {"EmptyQuestionMatchesNothing", "w=", "共找到 0 道题"},
    {"NoQuestionParameter", "x=1", "共找到 0 道题"},
    {"BlanksTrimmed", "w=%20%E3%80%80%E8%B4%A8%E6%95%B0%20",  // " 　质数 "
     "id:1题目:下列各数中，最小的<em>质数</em>是<br>共找到 1 道题"},
    {"OnlyBlanksMatchNothing", "w=%20%20%20", "共找到 0 道题"},
    // The client sends "+" and "&" as typed, so they are part of the question.
    {"PlusIsLiteral", "w=5+5", "id:5题目:<em>5+5</em>=?<br>共找到 1 道题"},
    {"EscapedPlus", "w=C%2B%2B",
     "id:3题目:Which keyword declares a constant in <em>C++</em>?<br>共找到 1 道题"},
    {"AmpersandIsLiteral", "w=a&b", "共找到 0 道题"},
    {"QuestionAfterOtherParameter", "x=1&w=5+5", "id:5题目:<em>5+5</em>=?<br>共找到 1 道题"},
    {"StrayPercentIsLiteral", "w=100%",
     "id:6题目:He said \"NEAR\" (a*b) ^c: -d, <em>100%</em> sure, file_x.<br>共找到 1 道题"},
    {"InvalidEscapeIsLiteral", "w=%zz", "共找到 0 道题"},
};

class SearchReplyTest : public SearchPageTest, public testing::WithParamInterface<SearchCase> {};

TEST_P(SearchReplyTest, ReplyIsExact)
{
    const auto result = search(GetParam().query);
    ASSERT_TRUE(result) << httplib::to_string(result.error());
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->get_header_value("Content-Type"), "text/plain; charset=utf-8");
    EXPECT_EQ(result->body, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Search, SearchReplyTest, testing::ValuesIn(searchCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Query syntax of the full-text index and of LIKE, and SQL, must be matched as plain text.
const SearchCase metacharacterCases[] = {
    {"QuotedNear", "w=%22NEAR%22",
     "id:6题目:He said <em>\"NEAR\"</em> (a*b) ^c: -d, 100% sure, file_x.<br>共找到 1 道题"},
    {"BareNear", "w=NEAR%22%20(a",
     "id:6题目:He said \"<em>NEAR\" (a</em>*b) ^c: -d, 100% sure, file_x.<br>共找到 1 道题"},
    {"ParenthesesAndStar", "w=(a*b)",
     "id:6题目:He said \"NEAR\" <em>(a*b)</em> ^c: -d, 100% sure, file_x.<br>共找到 1 道题"},
    {"CaretColonMinus", "w=%5Ec:%20-d",
     "id:6题目:He said \"NEAR\" (a*b) <em>^c: -d</em>, 100% sure, file_x.<br>共找到 1 道题"},
    {"LoneStar", "w=*",
     "id:6题目:He said \"NEAR\" (a<em>*</em>b) ^c: -d, 100% sure, file_x.<br>共找到 1 道题"},
    {"LoneQuoteShort", "w=%22N",
     "id:6题目:He said <em>\"N</em>EAR\" (a*b) ^c: -d, 100% sure, file_x.<br>共找到 1 道题"},
    {"UnbalancedQuote", "w=%22%22%22", "共找到 0 道题"},
    {"OrOperator", "w=a%20OR%20b", "共找到 0 道题"},
    // Unescaped, "_" would match any character and "max" would be found too.
    {"UnderscoreShort", "w=_x",
     "id:6题目:He said \"NEAR\" (a*b) ^c: -d, 100% sure, file<em>_x</em>.<br>共找到 1 道题"},
    {"PercentAlone", "w=%25",
     "id:6题目:He said \"NEAR\" (a*b) ^c: -d, 100<em>%</em> sure, file_x.<br>共找到 1 道题"},
    {"BackslashShort", "w=%5C", "共找到 0 道题"},
    {"SqlInjection", "w='%20OR%201=1%20--", "共找到 0 道题"},
    {"SqlInjectionShort", "w='%3B", "共找到 0 道题"},
    {"StatementBreak", "w=x');%20DROP%20TABLE%20questions;--", "共找到 0 道题"},
};

INSTANTIATE_TEST_SUITE_P(Metacharacters, SearchReplyTest, testing::ValuesIn(metacharacterCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SearchPageTest, BankIntactAfterInjectionAttempts)
{
    search("w=x');%20DROP%20TABLE%20questions;--");
    const auto result = search("w=%E8%B4%A8%E6%95%B0");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->body, "id:1题目:下列各数中，最小的<em>质数</em>是<br>共找到 1 道题");
}

TEST_F(SearchPageTest, ListsAtMostTheLimitAndCountsAll)
{
    const auto result = search("w=%E9%87%8D%E5%A4%8D%E9%A2%98");  // 重复题
    ASSERT_TRUE(result);
    const std::string& body = result->body;
    EXPECT_TRUE(body.ends_with("<br>共找到 13 道题，列出前 10 道")) << body;
    std::size_t rows = 0;
    for (auto at = body.find("<br>"); at != std::string::npos; at = body.find("<br>", at + 1))
        ++rows;
    EXPECT_EQ(rows, static_cast<std::size_t>(testRowLimit));
    EXPECT_TRUE(body.starts_with("id:")) << body;
}

TEST_F(SearchPageTest, ShortQueriesListShorterQuestionsFirst)
{
    const auto result = search("w=%28a");  // "(a"
    ASSERT_TRUE(result);
    EXPECT_EQ(result->body,
              "id:8题目:max<em>(a</em>, b) returns the larger value<br>"
              "id:6题目:He said \"NEAR\" <em>(a</em>*b) ^c: -d, 100% sure, file_x.<br>共找到 2 道题");
}

struct RejectedCase {
    const char* name;
    std::string query;
    int status;
    const char* bodyStart;
};

const RejectedCase rejectedCases[] = {
    {"InvalidUtf8Escaped", "w=%FF", 400, "400 Bad Request: question text is not valid UTF-8"},
    {"GbkBytesEscaped", "w=%D6%CA%CA%FD", 400, "400 Bad Request: question text is not valid UTF-8"},
    {"RawGbkBytes", "w=\xD6\xCA\xCA\xFD", 400,  // 质数 in GBK
     "400 Bad Request: question text is not valid UTF-8"},
    {"TruncatedCharacter", "w=%E8%B4", 400, "400 Bad Request: question text is not valid UTF-8"},
    {"TruncatedEscapeInCharacter", "w=%E8%B4%A", 400,
     "400 Bad Request: question text is not valid UTF-8"},
    {"OverlongSlash", "w=%C0%AF", 400, "400 Bad Request: question text is not valid UTF-8"},
    {"Surrogate", "w=%ED%A0%80", 400, "400 Bad Request: question text is not valid UTF-8"},
    {"ZeroByte", "w=a%00b", 400, "400 Bad Request: question text contains a zero byte"},
    {"LongerThanLimit", "w=" + std::string(3000, 'a'), 400,
     "400 Bad Request: question text longer than 2048 bytes"},
    {"HundredKilobytes", "w=" + std::string(100 * 1024, 'a'), 414, "414 URI Too Long"},
};

class RejectedSearchTest : public SearchPageTest,
                           public testing::WithParamInterface<RejectedCase> {};

TEST_P(RejectedSearchTest, ClearErrorReply)
{
    const auto result = search(GetParam().query);
    ASSERT_TRUE(result) << httplib::to_string(result.error());
    EXPECT_EQ(result->status, GetParam().status);
    EXPECT_TRUE(result->body.starts_with(GetParam().bodyStart)) << result->body;
}

INSTANTIATE_TEST_SUITE_P(Search, RejectedSearchTest, testing::ValuesIn(rejectedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SearchPageTest, LongestAcceptedQuestionIsSearched)
{
    const auto result = search("w=" + std::string(2048, 'a'));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->body, "共找到 0 道题");
}

TEST_F(SearchPageTest, ServerStillAnswersAfterBadRequests)
{
    for (const auto& rejected : rejectedCases)
        search(rejected.query);
    const auto result = search("w=5+5");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->body, "id:5题目:<em>5+5</em>=?<br>共找到 1 道题");
}

TEST_F(SearchPageTest, UnknownPathIsNotFound)
{
    const auto result = server->client()->Get("/qwg/chazhaoXphp?w=abc");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 404);
    EXPECT_EQ(result->body, "404 Not Found");
}

TEST_F(SearchPageTest, ConcurrentSearchesAndPagesAllAnswered)
{
    constexpr int threads = 8;
    constexpr int requestsPerThread = 25;
    std::atomic<int> good{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&good, t] {
            auto client = server->client();
            for (int i = 0; i < requestsPerThread; ++i) {
                const bool page = (t + i) % 3 == 0;
                const auto result = page ? client->Get("/qwg/indexchaxun.php?id=2")
                                         : client->Get("/qwg/chazhao.php?w=5+5");
                if (result && result->status == 200
                    && (page ? result->body.find("F=ma") != std::string::npos
                             : result->body == "id:5题目:<em>5+5</em>=?<br>共找到 1 道题"))
                    ++good;
            }
        });
    }
    for (auto& worker : workers)
        worker.join();
    EXPECT_EQ(good.load(), threads * requestsPerThread);
}

}  // namespace
}  // namespace ql::qbank::test
