#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::send {

// One automation message as kestrel-send sends it.
struct SendRequest {
    std::uint32_t message = 0;
    std::uint32_t wParam = 0;
    std::int32_t lParam = 0;
};

struct SendArguments {
    bool help = false;
    SendRequest request;
};

// 32 bits from a signed or unsigned decimal number or 0x followed by up to
// eight hex digits: "-1", "4294967295" and "0xFFFFFFFF" are the same bits.
std::optional<std::uint32_t> ParseBits32(std::string_view text);
// 16 bits from a signed decimal number (-32768 to 32767) or 0x followed by
// up to four hex digits.
std::optional<std::uint16_t> ParseBits16(std::string_view text);
// A message by name (UM_CLIPTEXT ... UM_OUTPUT, in any case) or by number.
std::optional<std::uint32_t> ParseMessage(std::string_view text);

// lParam of two signed 16-bit numbers: low in bits 0-15, high in 16-31.
std::int32_t PackLowHigh(std::uint16_t low, std::uint16_t high);

// MESSAGE WPARAM LPARAM, or MESSAGE WPARAM --low N --high M, or --help.
// On failure returns false and sets `error` to one line saying what is wrong.
bool ParseArguments(const std::vector<std::string>& arguments, SendArguments& parsed,
                    std::string& error);

std::string UsageText();

}  // namespace kestrel::send
