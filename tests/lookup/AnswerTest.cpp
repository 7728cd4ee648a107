#include "LookupFixture.h"

namespace ql::lookup::testing_support {
namespace {

using AnswerView = LookupFixture;

TEST_F(AnswerView, BeforeAnySearchEveryButtonOpensAnEmptyId)
{
    for (int k = 1; k <= 6; ++k)
        lookup.onAnswerClicked(k);
    ASSERT_EQ(view.openedAddresses.size(), 6u);
    for (const Text& address : view.openedAddresses)
        EXPECT_EQ(address, Text("http://qb.example:8080/qwg/indexchaxun.php?id="));
    EXPECT_TRUE(requestedUrls.empty()) << "the view fetches the page, not the lookup";
}

TEST_F(AnswerView, OpensTheIdOfItsRow)
{
    search("q", replyWithBody("id:11题目:a<br>id:22题目:b<br>id:33题目:c<br>end"));
    lookup.onAnswerClicked(2);
    lookup.onAnswerClicked(3);
    lookup.onAnswerClicked(1);
    EXPECT_EQ(view.openedAddresses,
              (std::vector<Text>{"http://qb.example:8080/qwg/indexchaxun.php?id=22",
                                 "http://qb.example:8080/qwg/indexchaxun.php?id=33",
                                 "http://qb.example:8080/qwg/indexchaxun.php?id=11"}));
}

TEST_F(AnswerView, RowsAShorterSearchMissedKeepOpeningTheEarlierQuestions)
{
    search("q", replyWithBody("id:1题目:a<br>id:2题目:b<br>id:3题目:c<br>id:4题目:d<br>end"));
    search("q", replyWithBody("id:9题目:z<br>end"));
    lookup.onAnswerClicked(1);
    lookup.onAnswerClicked(3);
    lookup.onAnswerClicked(6);
    EXPECT_EQ(view.openedAddresses,
              (std::vector<Text>{"http://qb.example:8080/qwg/indexchaxun.php?id=9",
                                 "http://qb.example:8080/qwg/indexchaxun.php?id=3",
                                 "http://qb.example:8080/qwg/indexchaxun.php?id="}));
}

TEST_F(AnswerView, PressingTwiceOpensTheAddressTwice)
{
    search("q", replyWithBody("id:7题目:a<br>end"));
    lookup.onAnswerClicked(1);
    lookup.onAnswerClicked(1);
    ASSERT_EQ(view.openedAddresses.size(), 2u);
    EXPECT_EQ(view.openedAddresses[0], view.openedAddresses[1]);
}

TEST_F(AnswerView, PressedWhileASearchWaitsOpensTheSlotAsItIsThen)
{
    search("q", replyWithBody("id:1题目:a<br>end"));
    CannedReply slow = replyWithBody("id:2题目:b<br>end");
    slow.whilePumping = [this] { lookup.onAnswerClicked(1); };
    search("q", std::move(slow));
    lookup.onAnswerClicked(1);
    EXPECT_EQ(view.openedAddresses,
              (std::vector<Text>{"http://qb.example:8080/qwg/indexchaxun.php?id=1",
                                 "http://qb.example:8080/qwg/indexchaxun.php?id=2"}));
}

TEST_F(AnswerView, ThereIsNoButtonOutsideOneToSix)
{
    lookup.onAnswerClicked(0);
    lookup.onAnswerClicked(7);
    EXPECT_TRUE(view.openedAddresses.empty());
    EXPECT_EQ(lookup.questionIds().slot(7), Text());
}

} // namespace
} // namespace ql::lookup::testing_support
