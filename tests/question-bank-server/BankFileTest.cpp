// Reading bank files: what is accepted, and the line and reason of what is not.

#include "BankFile.h"
#include "QuestionBank.h"
#include "TestBank.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace ql::qbank::test {
namespace {

BankFileResult parse(const std::string& text)
{
    std::istringstream input(text);
    return parseBank(input, "bank");
}

const std::string goodLine =
    R"({"id":7,"type":"fill","subject":"数学","question":"1+1=____","answer":"2"})";

TEST(BankFile, ReadsEveryFieldAndSkipsCommentsAndBlankLines)
{
    const auto result = parse(
        "\xEF\xBB\xBF# comment after a byte order mark\n"
        "\n"
        "   \t\n"
        "  # indented comment\n"
        R"({"id":1,"type":"single","subject":"物理","question":"光速约为","options":["A. 3e8 m/s","B. 340 m/s"],"answer":"A","explanation":"真空中约 3×10^8 m/s"})"
        "\r\n" + goodLine + "\n");
    ASSERT_EQ(result.error, "");
    ASSERT_EQ(result.questions.size(), 2u);
    const Question& q = result.questions[0];
    EXPECT_EQ(q.id, 1);
    EXPECT_EQ(q.type, "single");
    EXPECT_EQ(q.subject, "物理");
    EXPECT_EQ(q.question, "光速约为");
    EXPECT_EQ(q.options, (std::vector<std::string>{"A. 3e8 m/s", "B. 340 m/s"}));
    EXPECT_EQ(q.answer, "A");
    EXPECT_EQ(q.explanation, "真空中约 3×10^8 m/s");
    EXPECT_EQ(result.questions[1].id, 7);
    EXPECT_EQ(result.questions[1].explanation, "");
}

TEST(BankFile, TestBankIsValid)
{
    const auto result = parse(testBankText());
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.questions.size(), 21u);
}

struct BadLineCase {
    const char* name;
    std::string line;  // placed on line 3, after a comment and a good question
    const char* reason;
};

const BadLineCase badLineCases[] = {
    {"NotJson", "{id:1}", "not valid JSON (or not valid UTF-8)"},
    {"TruncatedJson", R"({"id":1,"type":"fill")", "not valid JSON (or not valid UTF-8)"},
    {"InvalidUtf8", "{\"id\":1,\"type\":\"fill\",\"subject\":\"\xD6\xCA\",\"question\":\"q\",\"answer\":\"a\"}",
     "not valid JSON (or not valid UTF-8)"},
    {"Array", R"([1,2])", "expected one JSON object per line"},
    {"TwoObjects", goodLine + goodLine, "not valid JSON (or not valid UTF-8)"},
    {"MissingId", R"({"type":"fill","subject":"s","question":"q","answer":"a"})", "missing field \"id\""},
    {"IdAsText", R"({"id":"1","type":"fill","subject":"s","question":"q","answer":"a"})",
     "field \"id\" must be a positive whole number"},
    {"IdZero", R"({"id":0,"type":"fill","subject":"s","question":"q","answer":"a"})",
     "field \"id\" must be a positive whole number"},
    {"IdFraction", R"({"id":1.5,"type":"fill","subject":"s","question":"q","answer":"a"})",
     "field \"id\" must be a positive whole number"},
    {"IdTooLarge", R"({"id":18446744073709551615,"type":"fill","subject":"s","question":"q","answer":"a"})",
     "field \"id\" must be a positive whole number"},
    {"DuplicateId", goodLine, "duplicate id 7"},
    {"UnknownField", R"({"id":1,"type":"fill","subject":"s","question":"q","answer":"a","explaination":"x"})",
     "unknown field \"explaination\""},
    {"UnknownType", R"({"id":1,"type":"essay","subject":"s","question":"q","answer":"a"})",
     "field \"type\" must be one of single, multiple, truefalse, fill"},
    {"MissingSubject", R"({"id":1,"type":"fill","question":"q","answer":"a"})", "missing field \"subject\""},
    {"QuestionNotText", R"({"id":1,"type":"fill","subject":"s","question":5,"answer":"a"})",
     "field \"question\" must be a string"},
    {"EmptyQuestion", R"({"id":1,"type":"fill","subject":"s","question":"","answer":"a"})",
     "field \"question\" is empty"},
    {"RowSeparatorInQuestion", R"({"id":1,"type":"fill","subject":"s","question":"a<BR>b","answer":"a"})",
     "field \"question\" must not contain <br>"},
    {"HighlightInQuestion", R"({"id":1,"type":"fill","subject":"s","question":"a</em>b","answer":"a"})",
     "field \"question\" must not contain </em>"},
    {"MissingAnswer", R"({"id":1,"type":"fill","subject":"s","question":"q"})", "missing field \"answer\""},
    {"EmptyAnswer", R"({"id":1,"type":"fill","subject":"s","question":"q","answer":""})",
     "field \"answer\" is empty"},
    {"ChoiceWithoutOptions", R"({"id":1,"type":"single","subject":"s","question":"q","answer":"A"})",
     "a single question needs \"options\""},
    {"ChoiceWithEmptyOptions", R"({"id":1,"type":"multiple","subject":"s","question":"q","options":[],"answer":"A"})",
     "a multiple question needs \"options\""},
    {"OptionsNotList", R"({"id":1,"type":"single","subject":"s","question":"q","options":"A","answer":"A"})",
     "field \"options\" must be a list of strings"},
    {"OptionNotText", R"({"id":1,"type":"single","subject":"s","question":"q","options":["A",2],"answer":"A"})",
     "field \"options\" must be a list of strings"},
};

class BadBankLineTest : public testing::TestWithParam<BadLineCase> {};

TEST_P(BadBankLineTest, ReportsLineAndReason)
{
    const auto result = parse("# first line\n" + goodLine + "\n" + GetParam().line + "\n" + goodLine);
    EXPECT_EQ(result.error, std::string("bank:3: ") + GetParam().reason);
    EXPECT_TRUE(result.questions.empty());
}

INSTANTIATE_TEST_SUITE_P(BankFile, BadBankLineTest, testing::ValuesIn(badLineCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BankFile, ReadsFileByPath)
{
    TempFile file(goodLine + "\n");
    const auto result = readBankFile(file.path());
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.questions.size(), 1u);
}

TEST(BankFile, MissingFileAndDirectoryAreErrors)
{
    EXPECT_EQ(readBankFile("/nonexistent/bank.jsonl").error,
              "/nonexistent/bank.jsonl: cannot open the bank file");
    const std::string folder = std::filesystem::temp_directory_path().string();
    EXPECT_EQ(readBankFile(folder).error, folder + ": is a directory, not a bank file");
}

TEST(QuestionBank, FindsStoredQuestionAndNotOthers)
{
    std::string error;
    const auto bank = QuestionBank::create(parse(testBankText()).questions, error);
    ASSERT_NE(bank, nullptr) << error;
    EXPECT_EQ(bank->size(), 21);
    const Lookup found = bank->find(7);
    ASSERT_TRUE(found.question);
    EXPECT_EQ(found.question->options,
              (std::vector<std::string>{"A. <b>粗</b>", "B. a&b"}));
    EXPECT_FALSE(found.failed);
    const Lookup missing = bank->find(9);
    EXPECT_FALSE(missing.question);
    EXPECT_FALSE(missing.failed);
}

TEST(QuestionBank, DuplicateIdsRefused)
{
    Question q;
    q.id = 1;
    q.type = "fill";
    q.question = "q";
    q.answer = "a";
    std::string error;
    EXPECT_EQ(QuestionBank::create({q, q}, error), nullptr);
    EXPECT_TRUE(error.starts_with("cannot store question 1: ")) << error;
}

}  // namespace
}  // namespace ql::qbank::test
