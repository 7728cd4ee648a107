#include "text/TextOps.h"

#include <gtest/gtest.h>

#include <string>

namespace ql {
namespace {

using namespace std::string_literals;

TEST(BytesOps, LengthAndLeft)
{
    const Bytes bytes("a\0b"s);
    EXPECT_EQ(bytesLength(Bytes()), 0);
    EXPECT_EQ(bytesLength(bytes), 3);
    EXPECT_EQ(bytesLeft(bytes, 2), Bytes("a\0"s));
    EXPECT_EQ(bytesLeft(bytes, 10), bytes);
    EXPECT_EQ(bytesLeft(bytes, 0), Bytes());
    EXPECT_EQ(bytesLeft(bytes, -1), Bytes());
}

TEST(BytesOps, BlankBytesAreZeros)
{
    EXPECT_EQ(blankBytes(3), Bytes("\0\0\0"s));
    EXPECT_EQ(blankBytes(0), Bytes());
    EXPECT_EQ(blankBytes(-4), Bytes());
}

TEST(BytesOps, ConcatKeepsZeroBytes)
{
    EXPECT_EQ(concatBytes({"a\0"s, "", "\0b"s}), Bytes("a\0\0b"s));
    EXPECT_EQ(concatBytes({"", ""}), Bytes());
}

TEST(BytesOps, TextToBytesHasNoTerminator)
{
    EXPECT_EQ(textToBytes(Text()), Bytes());
    EXPECT_EQ(textToBytes(Text("\xCC\xE2")), Bytes("\xCC\xE2"s));
}

TEST(BytesOps, BytesToTextStopsAtFirstZero)
{
    EXPECT_EQ(bytesToText(Bytes()), Text());
    EXPECT_EQ(bytesToText(Bytes("\0abc"s)), Text());
    EXPECT_EQ(bytesToText(Bytes("ab\0cd"s)), Text("ab"));
    EXPECT_EQ(bytesToText(Bytes("abc"s)), Text("abc"));
}

TEST(BytesOps, BytesAtAddressCopies)
{
    const char buffer[] = {'x', '\0', 'y'};
    EXPECT_EQ(bytesAtAddress(buffer, 3), Bytes("x\0y"s));
    EXPECT_EQ(bytesAtAddress(buffer, 0), Bytes());
    EXPECT_EQ(bytesAtAddress(buffer, -1), Bytes());
    EXPECT_EQ(bytesAtAddress(nullptr, 5), Bytes());
}

TEST(ArrayOps, AppendCountAndMembers)
{
    TextArray array;
    EXPECT_EQ(arrayCount(array), 0);
    arrayAppend(array, Text("a"));
    arrayAppend(array, Text());
    Text third("c");
    arrayAppend(array, third);
    third = Text("changed"); // members are copies
    ASSERT_EQ(arrayCount(array), 3);
    EXPECT_EQ(arrayMember(array, 1), Text("a"));
    EXPECT_EQ(arrayMember(array, 2), Text());
    EXPECT_EQ(arrayMember(array, 3), Text("c"));
}

TEST(ArrayOps, MemberOutsideRangeIsEmpty)
{
    const TextArray array{Text("a")};
    EXPECT_EQ(arrayMember(array, 0), Text());
    EXPECT_EQ(arrayMember(array, 2), Text());
}

} // namespace
} // namespace ql
