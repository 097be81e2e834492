// Reading the number boxes every dialog shares, the three messages (the one
// place their texts are compared) and the up-down control's stepping.

#include "document/FieldExchange.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel {
namespace {

using Kind = IntegerField::Kind;
constexpr IntegerField Height{Kind::Signed, 5, 999};
constexpr IntegerField Margin{Kind::Unsigned, 0, 100};

TEST(FieldExchangeTest, ReadsNumbersAsTheEditBoxesHoldThem)
{
    const IntegerField wide{Kind::Signed, -2147483647 - 1, 2147483647};
    const struct {
        const char* text;
        IntegerField field;
        FieldError error;
        int value = 0;
    } cases[] = {
        {"150", Height, FieldError::None, 150},
        {"  42\t", Height, FieldError::None, 42},
        {"+7", Height, FieldError::None, 7},
        {"5", Height, FieldError::None, 5},
        {"999", Height, FieldError::None, 999},
        {"4", Height, FieldError::OutOfRange},
        {"1000", Height, FieldError::OutOfRange},
        {"-1", Height, FieldError::OutOfRange},
        {"", Height, FieldError::NotAnInteger},
        {"   ", Height, FieldError::NotAnInteger},
        {"abc", Height, FieldError::NotAnInteger},
        {"12a", Height, FieldError::NotAnInteger},
        {"1 2", Height, FieldError::NotAnInteger},
        {"-", Height, FieldError::NotAnInteger},
        {"--5", Height, FieldError::NotAnInteger},
        {"0x10", Height, FieldError::NotAnInteger},
        {"0", Margin, FieldError::None, 0},
        {"100", Margin, FieldError::None, 100},
        {"101", Margin, FieldError::OutOfRange},
        {"-1", Margin, FieldError::NotAPositiveInteger},
        {"-0", Margin, FieldError::NotAPositiveInteger},
        {"x", Margin, FieldError::NotAPositiveInteger},
        {"", Margin, FieldError::NotAPositiveInteger},
        // 32 bits: beyond them the box does not hold a number at all.
        {"4294967295", Margin, FieldError::OutOfRange},
        {"4294967296", Margin, FieldError::NotAPositiveInteger},
        {"-2147483648", wide, FieldError::None, -2147483647 - 1},
        {"2147483647", wide, FieldError::None, 2147483647},
        {"2147483648", wide, FieldError::NotAnInteger},
        {"-2147483649", wide, FieldError::NotAnInteger},
        {"99999999999999999999999", wide, FieldError::NotAnInteger},
    };
    for (const auto& c : cases) {
        const FieldReading reading = ReadIntegerField(c.text, c.field);
        EXPECT_EQ(reading.error, c.error) << '"' << c.text << '"';
        if (c.error == FieldError::None) {
            EXPECT_EQ(reading.value, c.value) << '"' << c.text << '"';
        }
    }
}

TEST(FieldExchangeTest, MessagesNameTheLimits)
{
    const struct {
        FieldError error;
        IntegerField field;
        std::string message;
    } cases[] = {
        {FieldError::OutOfRange, Height, "5 から 999 までの整数を入力してください。"},
        {FieldError::OutOfRange, {Kind::Signed, 1, 10}, "1 から 10 までの整数を入力してください。"},
        {FieldError::NotAnInteger, Height, "整数を入力してください。"},
        {FieldError::NotAPositiveInteger, Margin, "正の整数を入力してください。"},
        {FieldError::None, Height, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FieldErrorMessage(c.error, c.field), c.message);
    }
}

TEST(FieldExchangeTest, UpDownControlStartsFromTheLow16BitsAsASignedNumber)
{
    // Expected values are the two's complement reading of value mod 2^16.
    const struct {
        int value;
        int position;
    } cases[] = {
        {150, 150},  {70000, 4464}, {32767, 32767}, {32768, -32768}, {40000, -25536},
        {65535, -1}, {65536, 0},    {-1, -1},       {-70000, -4464},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpDownStartPosition(c.value), c.position) << c.value;
    }
}

TEST(FieldExchangeTest, UpDownStepsTheBoxOrThePositionWithinTheLimits)
{
    const IntegerField width{Kind::Unsigned, 5, 9999};
    const struct {
        IntegerField field;
        const char* box;
        int position;
        int steps;
        int expected;
    } cases[] = {
        {Height, "12", 150, +1, 13},  // from the box, not the position
        {Height, " 12 ", 150, -1, 11},
        {Height, "999", 150, +1, 999},
        {Height, "1000", 150, -1, 999},  // beyond the limits: back within them
        {Height, "-3", 150, +1, 5},
        {Height, "995", 150, +10, 999},  // a page of steps at once
        {Height, "2147483647", 150, +1, 999},
        {Height, "-2147483648", 150, -1, 5},
        {width, "abc", 7, +1, 8},  // no number: from the position
        {width, "", 7, -1, 6},
        {width, "4294967296", 7, +1, 8},  // beyond 32 bits is no number
        {width, "4", 7, -1, 5},
        {width, "x", -1, +1, 5},  // a position below the limits
        {width, "x", 32767, +1, 9999},
        {Margin, "0", 0, -1, 0},
        {Margin, "-5", 50, +1, 0},  // an unsigned box's minus number still steps
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpDownStepped(c.box, c.position, c.steps, c.field), c.expected)
            << '"' << c.box << "\" from " << c.position << " by " << c.steps;
    }
}

}  // namespace
}  // namespace kestrel
