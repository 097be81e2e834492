#include "document/FieldExchange.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

namespace kestrel {

namespace {

constexpr bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string Replace(std::string text, std::string_view placeholder, std::string_view value)
{
    const std::size_t at = text.find(placeholder);
    if (at != std::string::npos) {
        text.replace(at, placeholder.size(), value);
    }
    return text;
}

}  // namespace

FieldReading ReadIntegerField(std::string_view text, const IntegerField& field)
{
    const FieldError notANumber = field.kind == IntegerField::Kind::Signed
                                      ? FieldError::NotAnInteger
                                      : FieldError::NotAPositiveInteger;
    text = Trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || (negative && field.kind == IntegerField::Kind::Unsigned)) {
        return {notANumber, 0};
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return {notANumber, 0};
    }
    // The box holds a 32-bit number: a signed one from -2^31 to 2^31 - 1,
    // an unsigned one up to 2^32 - 1.
    const std::uint64_t limit = field.kind == IntegerField::Kind::Signed
                                    ? (negative ? 0x80000000ULL : 0x7FFFFFFFULL)
                                    : 0xFFFFFFFFULL;
    if (magnitude > limit) {
        return {notANumber, 0};
    }
    const long long value = negative ? -static_cast<long long>(magnitude)
                                     : static_cast<long long>(magnitude);
    if (!field.Contains(value)) {
        return {FieldError::OutOfRange, 0};
    }
    return {FieldError::None, static_cast<int>(value)};
}

std::string FieldErrorMessage(FieldError error, const IntegerField& field)
{
    switch (error) {
    case FieldError::NotAnInteger: return "整数を入力してください。";
    case FieldError::NotAPositiveInteger: return "正の整数を入力してください。";
    case FieldError::OutOfRange:
        return Replace(Replace("%1 から %2 までの整数を入力してください。", "%1",
                               std::to_string(field.low)),
                       "%2", std::to_string(field.high));
    case FieldError::None: break;
    }
    return {};
}

int UpDownStartPosition(int value)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}

int UpDownStepped(std::string_view boxText, int position, int steps, const IntegerField& field)
{
    constexpr IntegerField anyNumber{IntegerField::Kind::Signed, std::numeric_limits<int>::min(),
                                     std::numeric_limits<int>::max()};
    const FieldReading typed = ReadIntegerField(boxText, anyNumber);
    const long long from = typed.Ok() ? typed.value : position;
    return static_cast<int>(std::clamp<long long>(from + steps, field.low, field.high));
}

}  // namespace kestrel
