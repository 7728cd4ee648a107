#include "http/CookieMerge.h"

#include <gtest/gtest.h>

namespace ql::http {
namespace {

struct MergeCase {
    const char* name;
    const char* sent;
    const char* received;
    const char* expected;
};

const MergeCase kCases[] = {
    {"bothEmpty", "", "", ""},
    {"nothingReceived", "a=1; b=2", "", "a=1; b=2"},
    {"receivedReplacesSent", "a=1; b=2", "b=3", "b=3; a=1"},
    {"deletedRemovesTheName", "a=1", "a=deleted", ""},
    {"deletedKeepsOthers", "a=1; b=2", "a=deleted; c=3", "c=3; b=2"},
    {"identicalReceivedCollapse", "", "x=1; x=1", "x=1"},
    {"differingReceivedStay", "", "x=1; x=2", "x=1; x=2"},
    {"firstOfSentDuplicatesWins", "a=1;a=2", "", "a=1"},
    {"spacesInsideValuesAreLost", "a=hello world", "", "a=helloworld"},
    {"fullWidthSpacesAreLostToo", "a=1;\xA1\xA1" "b=2", "", "a=1; b=2"}, // "\xA1\xA1" is a full-width space
    {"entryWithoutEqualsIsItsOwnName", "flag; a=1", "", "flag; a=1"},
    {"entryWithoutEqualsReplacedByReceived", "flag; a=1", "flag", "flag; a=1"},
    {"deletedTestIsCaseSensitive", "", "a=DELETED", "a=DELETED"},
    {"shortEntryIsNeverDeleted", "", "=deleted; deleted", "deleted"},
    {"trailingSeparator", "a=1;", "", "a=1"},
    {"emptyPlaceSurvives", "a=1;;b=2", "", "a=1; ; b=2"},
    {"namesAreCaseSensitive", "A=1", "a=2", "a=2; A=1"},
    {"emptyNameMatchesEmptyName", "=1", "=2", "=2"},
    {"lenientSeparators", " a=1 ;b=2 ; ", "", "a=1; b=2"},
};

class MergeCookiesTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeCookiesTest, MergesAndStoresInSentCookies)
{
    Text sent(GetParam().sent);
    const Text result = mergeCookies(sent, Text(GetParam().received));
    EXPECT_EQ(result, Text(GetParam().expected));
    EXPECT_EQ(sent, result);
}

INSTANTIATE_TEST_SUITE_P(Cases, MergeCookiesTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ql::http
