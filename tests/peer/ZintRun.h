#pragma once

#include <string>
#include <vector>

namespace kestrel::peer {

// What one `zint --dump` run gave: its exit status, its messages, and the
// first row of the symbol as run lengths (bar first, no padding).
struct ZintSymbol {
    int exitStatus = -1;
    std::string messages;
    std::vector<int> runs;
};

// Runs zint with `-b symbology --data=DATA --dump` and the extra options.
// The arguments go to the program as they are, without a shell, so any byte
// but NUL reaches zint unchanged; data holding a NUL is sent escaped with
// --esc instead.
ZintSymbol RunZint(int symbology, const std::string& data,
                   const std::vector<std::string>& options = {});

// Run lengths of one dumped row: hex digits, most significant bit first,
// 1 a bar. The dump pads the row to whole hex digits with spaces (zeros),
// which are not part of the symbol and are dropped.
std::vector<int> RunsFromDumpRow(const std::string& row);

}  // namespace kestrel::peer
