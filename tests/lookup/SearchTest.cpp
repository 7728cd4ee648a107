#include "LookupFixture.h"

namespace ql::lookup::testing_support {
namespace {

// Server replies are UTF-8; texts the window shows are GBK (hex escapes).
constexpr const char* kQuestionMarkerGbk = "\xCC\xE2\xC4\xBF:"; // "题目:"

// n rows "id:<100+k>题目:q<k><br>" followed by the closing piece.
std::string replyRows(int n, const std::string& closing)
{
    std::string body;
    for (int k = 1; k <= n; ++k)
        body += "id:" + std::to_string(100 + k) + "题目:q" + std::to_string(k) + "<br>";
    return body + closing;
}

class Search : public LookupFixture {
protected:
    // Every row filled by an earlier search, so that untouched rows show.
    void fillAllRowsWithEarlierSearch()
    {
        std::string body;
        for (int k = 1; k <= 6; ++k)
            body += "id:old" + std::to_string(k) + "题目:earlier" + std::to_string(k) + "<br>";
        search("earlier", replyWithBody(body + "end"));
    }

    void expectRowFromEarlierSearch(int k)
    {
        EXPECT_EQ(view.boxes[k - 1], Text("earlier" + std::to_string(k))) << "row " << k;
        EXPECT_EQ(lookup.questionIds().slot(k), Text("old" + std::to_string(k))) << "row " << k;
    }
};

struct RowCountCase {
    const char* name;
    std::string body;
    int rowsFilled;
};

class RowMapping : public Search, public ::testing::WithParamInterface<RowCountCase> {};

TEST_P(RowMapping, FillsRowKOnlyWhenTheReplyHasMoreThanKPieces)
{
    fillAllRowsWithEarlierSearch();
    search("q", replyWithBody(GetParam().body));
    for (int k = 1; k <= 6; ++k) {
        if (k <= GetParam().rowsFilled) {
            EXPECT_EQ(view.boxes[k - 1], Text("q" + std::to_string(k))) << "row " << k;
            EXPECT_EQ(lookup.questionIds().slot(k), Text(std::to_string(100 + k))) << "row " << k;
        } else {
            expectRowFromEarlierSearch(k);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    PieceCounts, RowMapping,
    ::testing::Values(RowCountCase{"EmptyReply", "", 0},
                      RowCountCase{"OnePiece", "id:101题目:q1", 0},
                      RowCountCase{"TwoPieces", replyRows(1, "end"), 1},
                      RowCountCase{"TwoRowsEndingInSeparator", replyRows(2, ""), 1},
                      RowCountCase{"TwoRowsAndClosingPiece", replyRows(2, "end"), 2},
                      RowCountCase{"SixPieces", replyRows(5, "end"), 5},
                      RowCountCase{"SevenPieces", replyRows(6, "end"), 6},
                      RowCountCase{"TenPieces", replyRows(9, "end"), 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Search, EmptyPiecesAreRowsToo)
{
    fillAllRowsWithEarlierSearch();
    search("q", replyWithBody("<br>id:5题目:x<br>end"));
    EXPECT_EQ(view.boxes[0], Text());
    EXPECT_EQ(lookup.questionIds().slot(1), Text());
    EXPECT_EQ(view.boxes[1], Text("x"));
    EXPECT_EQ(lookup.questionIds().slot(2), Text("5"));
    expectRowFromEarlierSearch(3);
}

struct RowCase {
    const char* name;
    std::string piece; // UTF-8, as the server sends it
    Text id;           // GBK
    Text shown;        // GBK
};

class RowReading : public LookupFixture, public ::testing::WithParamInterface<RowCase> {};

TEST_P(RowReading, TakesTheIdAndCleansTheText)
{
    search("q", replyWithBody(GetParam().piece + "<br>end"));
    EXPECT_EQ(lookup.questionIds().slot(1), GetParam().id);
    EXPECT_EQ(view.boxes[0], GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RowReading,
    ::testing::Values(
        RowCase{"Plain", "id:1001题目:first question", "1001", "first question"},
        // One replacement per pair: the id's digits inside the question survive.
        RowCase{"IdDigitsInQuestionSurvive", "id:5题目:5+5=?", "5", "5+5=?"},
        RowCase{"IdRepeatedInQuestion", "id:12题目:12 and 12", "12", "12 and 12"},
        RowCase{"MarkersRepeatedInQuestion", "id:4题目:id:题目:", "4",
                Text(std::string("id:") + kQuestionMarkerGbk)},
        // Markers are found exactly, but cleaned without regard to letter case.
        RowCase{"CapitalIdMarker", "ID:7题目:q", "", "7q"},
        RowCase{"FullWidthColonMarker", "id:8题目：q", "",
                "8\xCC\xE2\xC4\xBF\xA3\xBAq"}, // "8题目：q"
        RowCase{"NoMarkers", "no markers", "", "no markers"},
        RowCase{"QuestionMarkerBeforeIdMarker", "题目:q id:3", "", "q 3"},
        RowCase{"IdKeptUntrimmed", "id: 12 题目:q", " 12 ", "q"},
        RowCase{"ChineseQuestion", "id:3题目:中文", "3", "\xD6\xD0\xCE\xC4"}), // "中文"
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Search, RemovesHighlightTagsInAnyLetterCase)
{
    search("q", replyWithBody("<em>id:</em>1题目:a<EM>b</Em>c<br>id:2题目:<eM>d</EM><br>end"));
    EXPECT_EQ(lookup.questionIds().slot(1), Text("1"));
    EXPECT_EQ(view.boxes[0], Text("abc"));
    EXPECT_EQ(view.boxes[1], Text("d"));
}

TEST_F(Search, KeepsHighlightTagsAfterTheEightiethOfTheWholeReply)
{
    std::string first = "id:1题目:";
    std::string second = "id:2题目:";
    for (int i = 0; i < 40; ++i)
        first += "<em>x</em>";
    for (int i = 0; i < 41; ++i)
        second += "<em>y</em>";
    search("q", replyWithBody(first + "<br>" + second + "<br>end"));
    EXPECT_EQ(view.boxes[0], Text(std::string(40, 'x')));
    EXPECT_EQ(view.boxes[1], Text(std::string(40, 'y') + "<em>y</em>"));
}

TEST_F(Search, HandsTheEngineTheEncodedAddressAndAGetWithOnlyTheBodyAskedFor)
{
    search("1+1=? a&b #\xD6\xD0", replyWithBody("")); // "... 中"
    ASSERT_EQ(requestedUrls.size(), 1u);
    EXPECT_EQ(requestedUrls[0],
              Text("http://qb.example:8080/qwg/chazhao.php?w=1%2B1%3D%3F%20a%26b%20%23%E4%B8%AD"));
    const http::HttpRequestArgs& args = requestArgs[0];
    const http::HttpRequestArgs leftOut;
    EXPECT_EQ(args.method, 0);
    EXPECT_NE(args.responseBody, nullptr);
    EXPECT_EQ(args.postData, leftOut.postData);
    EXPECT_EQ(args.sentCookies, nullptr);
    EXPECT_EQ(args.receivedCookies, nullptr);
    EXPECT_EQ(args.extraHeaders, leftOut.extraHeaders);
    EXPECT_EQ(args.responseHeaders, nullptr);
    EXPECT_EQ(args.disableRedirects, leftOut.disableRedirects);
    EXPECT_EQ(args.userName, leftOut.userName);
    EXPECT_EQ(args.password, leftOut.password);
    EXPECT_EQ(args.proxy, leftOut.proxy);
    EXPECT_EQ(args.proxyUserName, leftOut.proxyUserName);
    EXPECT_EQ(args.proxyPassword, leftOut.proxyPassword);
    EXPECT_EQ(args.timeoutSeconds, leftOut.timeoutSeconds);
    EXPECT_EQ(args.redirectLocation, nullptr);
    EXPECT_EQ(args.statusText, nullptr);
    EXPECT_EQ(args.autoMergeCookies, leftOut.autoMergeCookies);
}

TEST_F(Search, AnEmptyQuestionIsStillSent)
{
    search("", replyWithBody(""));
    EXPECT_EQ(requestedUrls, std::vector<Text>{"http://qb.example:8080/qwg/chazhao.php?w="});
}

TEST_F(Search, DecodesTheRawBodyOnceEvenWhenItDeclaresAnotherCharset)
{
    // The engine's own text went through the declared charset; the rows
    // must come from the UTF-8 body instead.
    CannedReply reply = replyWithBody("id:1题目:<meta charset=\"iso-8859-1\">中文<br>end");
    reply.result = "id:1\xE9\xA2\x98garbled";
    search("html", std::move(reply));
    EXPECT_EQ(view.boxes[0], Text("<meta charset=\"iso-8859-1\">\xD6\xD0\xCE\xC4")); // "...中文"
}

TEST_F(Search, AFailedRequestChangesNothing)
{
    fillAllRowsWithEarlierSearch();
    const auto boxesBefore = view.boxes;
    const auto idsBefore = ids();
    search("q", failedRequest());
    EXPECT_EQ(view.boxes, boxesBefore);
    EXPECT_EQ(ids(), idsBefore);
}

TEST_F(Search, AResultTextWithoutAResponseBodyChangesNothing)
{
    fillAllRowsWithEarlierSearch();
    const auto idsBefore = ids();
    search("q", {std::nullopt, Text(replyRows(6, "end")), {}});
    for (int k = 1; k <= 6; ++k)
        expectRowFromEarlierSearch(k);
    EXPECT_EQ(ids(), idsBefore);
}

TEST_F(Search, AnOvertakenSearchLeavesTheNewerRowsInPlace)
{
    fillAllRowsWithEarlierSearch();
    CannedReply older = replyWithBody(replyRows(6, "end"));
    older.whilePumping = [this] {
        search("newer", replyWithBody("id:n1题目:newer1<br>id:n2题目:newer2<br>end"));
    };
    search("older", std::move(older));

    ASSERT_EQ(requestedUrls.size(), 3u);
    EXPECT_EQ(requestedUrls[1], Text("http://qb.example:8080/qwg/chazhao.php?w=older"));
    EXPECT_EQ(requestedUrls[2], Text("http://qb.example:8080/qwg/chazhao.php?w=newer"));
    EXPECT_EQ(view.boxes[0], Text("newer1"));
    EXPECT_EQ(view.boxes[1], Text("newer2"));
    EXPECT_EQ(lookup.questionIds().slot(1), Text("n1"));
    EXPECT_EQ(lookup.questionIds().slot(2), Text("n2"));
    // Rows the newer search did not reach are not mixed with the older reply.
    for (int k = 3; k <= 6; ++k)
        expectRowFromEarlierSearch(k);
}

TEST_F(Search, ASearchOnlyPumpingOtherEventsStillShowsItsRows)
{
    CannedReply reply = replyWithBody(replyRows(1, "end"));
    reply.whilePumping = [this] { lookup.onAnswerClicked(1); };
    search("q", std::move(reply));
    EXPECT_EQ(view.boxes[0], Text("q1"));
}

} // namespace
} // namespace ql::lookup::testing_support
