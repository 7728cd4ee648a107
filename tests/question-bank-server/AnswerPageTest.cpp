// The answer page over loopback: contents, escaping and the not-found page.

#include "AnswerPage.h"
#include "TestBank.h"

#include <gtest/gtest.h>

#include <string>

namespace ql::qbank::test {
namespace {

class AnswerPageTest : public testing::Test {
protected:
    static void SetUpTestSuite() { server = new BankServer(); }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }
    static httplib::Result page(const std::string& query)
    {
        return server->client()->Get(("/qwg/indexchaxun.php?" + query).c_str());
    }
    static BankServer* server;
};

BankServer* AnswerPageTest::server = nullptr;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(AnswerPageTest, ShowsQuestionOptionsAnswerAndExplanation)
{
    const auto result = page("id=1");
    ASSERT_TRUE(result) << httplib::to_string(result.error());
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->get_header_value("Content-Type"), "text/html; charset=utf-8");
    const std::string& html = result->body;
    EXPECT_TRUE(contains(html, "<meta charset=\"utf-8\">"));
    EXPECT_TRUE(contains(html, "下列各数中，最小的质数是"));
    EXPECT_TRUE(contains(html, "<li>A. 0</li><li>B. 1</li><li>C. 2</li><li>D. 3</li>"));
    EXPECT_TRUE(contains(html, "<b>答案：</b>C</p>"));
    EXPECT_TRUE(contains(html, "<b>解析：</b>2 是最小的质数。</p>"));
    EXPECT_TRUE(contains(html, "数学 · 单选题"));
    EXPECT_FALSE(contains(html, "http://")) << "the page must not load anything from elsewhere";
}

TEST_F(AnswerPageTest, QuestionWithoutOptionsHasNoList)
{
    const auto result = page("id=2");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_TRUE(contains(result->body, "<b>答案：</b>F=ma</p>"));
    EXPECT_FALSE(contains(result->body, "<ul>"));
}

TEST_F(AnswerPageTest, QuestionWithoutExplanationHasNone)
{
    const auto result = page("id=5");
    ASSERT_TRUE(result);
    EXPECT_FALSE(contains(result->body, "解析"));
}

TEST_F(AnswerPageTest, EveryFieldEscaped)
{
    const auto result = page("id=7");
    ASSERT_TRUE(result);
    const std::string& html = result->body;
    EXPECT_TRUE(contains(html, "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;转义&quot;"));
    EXPECT_TRUE(contains(html, "<li>A. &lt;b&gt;粗&lt;/b&gt;</li><li>B. a&amp;b</li>"));
    EXPECT_TRUE(contains(html, "<b>答案：</b>A&amp;B</p>"));
    EXPECT_TRUE(contains(html, "&lt;i&gt;不&lt;/i&gt;是标签"));
    EXPECT_FALSE(contains(html, "<script>"));
    EXPECT_FALSE(contains(html, "<i>"));
}

struct NotFoundCase {
    const char* name;
    const char* query;
    const char* echoed;  // the id shown on the page, or null when none is
};

const NotFoundCase notFoundCases[] = {
    {"UnknownId", "id=999", "（编号 999）"},
    {"EmptyId", "id=", nullptr},
    {"NoId", "w=1", nullptr},
    {"NotANumber", "id=abc", "（编号 abc）"},
    {"Negative", "id=-1", "（编号 -1）"},
    {"Zero", "id=0", "（编号 0）"},
    {"Fraction", "id=1.5", "（编号 1.5）"},
    {"TrailingBlank", "id=1%20", "（编号 1 ）"},
    {"Overflow", "id=99999999999999999999", "（编号 99999999999999999999）"},
    {"Markup", "id=%3Cb%3E", "（编号 &lt;b&gt;）"},
    {"SqlInjection", "id=1%20OR%201=1", "（编号 1 OR 1=1）"},
    {"InvalidUtf8NotEchoed", "id=%FF", nullptr},
    {"LongIdNotEchoed", "id=123456789012345678901234567890123", nullptr},
};

class NotFoundPageTest : public AnswerPageTest,
                         public testing::WithParamInterface<NotFoundCase> {};

TEST_P(NotFoundPageTest, ClearNotFoundPage)
{
    const auto result = page(GetParam().query);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 404);
    EXPECT_EQ(result->get_header_value("Content-Type"), "text/html; charset=utf-8");
    EXPECT_TRUE(contains(result->body, "<meta charset=\"utf-8\">"));
    EXPECT_TRUE(contains(result->body, "没有找到这道题"));
    if (GetParam().echoed)
        EXPECT_TRUE(contains(result->body, GetParam().echoed)) << result->body;
    else
        EXPECT_FALSE(contains(result->body, "编号")) << result->body;
}

INSTANTIATE_TEST_SUITE_P(AnswerPage, NotFoundPageTest, testing::ValuesIn(notFoundCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EscapeHtml, EscapesTheFiveSpecialCharacters)
{
    EXPECT_EQ(escapeHtml(R"(<a href="x">'&'</a>)"),
              "&lt;a href=&quot;x&quot;&gt;&#39;&amp;&#39;&lt;/a&gt;");
    EXPECT_EQ(escapeHtml("题目 plain"), "题目 plain");
}

}  // namespace
}  // namespace ql::qbank::test
