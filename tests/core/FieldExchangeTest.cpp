#include "document/FieldExchange.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel {
namespace {

using Kind = IntegerField::Kind;

TEST(FieldExchangeTest, ReadsNumbersAsTheEditBoxesHoldThem)
{
    struct Case {
        const char* text;
        IntegerField field;
        FieldError error;
        int value;
    };
    const IntegerField height{Kind::Signed, 5, 999};
    const IntegerField margin{Kind::Unsigned, 0, 100};
    const IntegerField wide{Kind::Signed, -2147483647 - 1, 2147483647};
    const std::vector<Case> cases{
        {"150", height, FieldError::None, 150},
        {"  42\t", height, FieldError::None, 42},
        {"+7", height, FieldError::None, 7},
        {"5", height, FieldError::None, 5},
        {"999", height, FieldError::None, 999},
        {"4", height, FieldError::OutOfRange, 0},
        {"1000", height, FieldError::OutOfRange, 0},
        {"-1", height, FieldError::OutOfRange, 0},
        {"", height, FieldError::NotAnInteger, 0},
        {"   ", height, FieldError::NotAnInteger, 0},
        {"abc", height, FieldError::NotAnInteger, 0},
        {"12a", height, FieldError::NotAnInteger, 0},
        {"1 2", height, FieldError::NotAnInteger, 0},
        {"-", height, FieldError::NotAnInteger, 0},
        {"--5", height, FieldError::NotAnInteger, 0},
        {"0x10", height, FieldError::NotAnInteger, 0},
        {"0", margin, FieldError::None, 0},
        {"100", margin, FieldError::None, 100},
        {"101", margin, FieldError::OutOfRange, 0},
        {"-1", margin, FieldError::NotAPositiveInteger, 0},
        {"-0", margin, FieldError::NotAPositiveInteger, 0},
        {"x", margin, FieldError::NotAPositiveInteger, 0},
        {"", margin, FieldError::NotAPositiveInteger, 0},
        // 32 bits: beyond them the box does not hold a number at all.
        {"4294967295", margin, FieldError::OutOfRange, 0},
        {"4294967296", margin, FieldError::NotAPositiveInteger, 0},
        {"-2147483648", wide, FieldError::None, -2147483647 - 1},
        {"2147483647", wide, FieldError::None, 2147483647},
        {"2147483648", wide, FieldError::NotAnInteger, 0},
        {"-2147483649", wide, FieldError::NotAnInteger, 0},
        {"99999999999999999999999", wide, FieldError::NotAnInteger, 0},
    };
    for (const Case& c : cases) {
        const FieldReading reading = ReadIntegerField(c.text, c.field);
        EXPECT_EQ(reading.error, c.error) << '"' << c.text << '"';
        if (c.error == FieldError::None) {
            EXPECT_EQ(reading.value, c.value) << '"' << c.text << '"';
        }
    }
}

TEST(FieldExchangeTest, MessagesNameTheLimits)
{
    const IntegerField height{Kind::Signed, 5, 999};
    const IntegerField gap{Kind::Signed, 1, 10};
    EXPECT_EQ(FieldErrorMessage(FieldError::OutOfRange, height),
              "5 から 999 までの整数を入力してください。");
    EXPECT_EQ(FieldErrorMessage(FieldError::OutOfRange, gap),
              "1 から 10 までの整数を入力してください。");
    EXPECT_EQ(FieldErrorMessage(FieldError::NotAnInteger, gap), "整数を入力してください。");
    EXPECT_EQ(FieldErrorMessage(FieldError::NotAPositiveInteger, gap),
              "正の整数を入力してください。");
    EXPECT_EQ(FieldErrorMessage(FieldError::None, gap), "");
}

TEST(FieldExchangeTest, UpDownControlStartsFromTheLow16BitsAsASignedNumber)
{
    // Expected values are the two's complement reading of value mod 2^16.
    const struct {
        int value;
        int position;
    } cases[] = {
        {150, 150},
        {70000, 4464},  // a profile value beyond the limits
        {32767, 32767},
        {32768, -32768},
        {40000, -25536},
        {65535, -1},
        {65536, 0},
        {-1, -1},
        {-70000, -4464},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpDownStartPosition(c.value), c.position) << c.value;
    }
}

TEST(FieldExchangeTest, UpDownStepsTheBoxOrThePositionWithinTheLimits)
{
    const IntegerField height{Kind::Signed, 5, 999};
    const IntegerField width{Kind::Unsigned, 5, 9999};
    const IntegerField margin{Kind::Unsigned, 0, 100};
    const struct {
        IntegerField field;
        const char* box;
        int position;
        int steps;
        int expected;
    } cases[] = {
        {height, "12", 150, +1, 13},  // from the box, not the position
        {height, " 12 ", 150, -1, 11},
        {height, "999", 150, +1, 999},
        {height, "1000", 150, -1, 999},  // beyond the limits: back within them
        {height, "-3", 150, +1, 5},
        {height, "995", 150, +10, 999},  // a page of steps at once
        {height, "2147483647", 150, +1, 999},
        {height, "-2147483648", 150, -1, 5},
        {width, "abc", 7, +1, 8},  // no number: from the position
        {width, "", 7, -1, 6},
        {width, "4294967296", 7, +1, 8},  // beyond 32 bits is no number
        {width, "4", 7, -1, 5},
        {width, "x", -1, +1, 5},  // a position below the limits
        {width, "x", 32767, +1, 9999},
        {margin, "0", 0, -1, 0},
        {margin, "-5", 50, +1, 0},  // an unsigned box's minus number still steps
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpDownStepped(c.box, c.position, c.steps, c.field), c.expected)
            << '"' << c.box << "\" from " << c.position << " by " << c.steps;
    }
}

}  // namespace
}  // namespace kestrel
