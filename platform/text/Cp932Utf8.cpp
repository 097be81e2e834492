#include "text/Cp932Utf8.h"

#include <cerrno>
#include <cstddef>
#include <iconv.h>

namespace kestrel {
namespace {

// One iconv conversion descriptor, closed on every path out.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // iconv_open's failure value is (iconv_t)-1; no other test for it exists.
    bool valid() const
    {
        // NOLINTNEXTLINE(performance-no-int-to-ptr)
        return cd_ != reinterpret_cast<iconv_t>(-1);
    }

    // Converts all of `in`, appending to `out`. When iconv stops at a sequence
    // it cannot convert, `onInvalid(rest, out)` decides: it returns how many
    // bytes of `rest` to skip (after appending whatever stands for them), or 0
    // to give up, which makes convert() return false.
    template <typename OnInvalid>
    bool convert(std::string_view in, std::string& out, OnInvalid onInvalid)
    {
        if (!valid()) {
            return false;
        }
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // the initial state, whatever came before
        char buffer[1024];
        while (!in.empty()) {
            // iconv takes a non-const input pointer but does not write through it.
            char* inPtr = const_cast<char*>(in.data());
            std::size_t inLeft = in.size();
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            in.remove_prefix(in.size() - inLeft);
            if (result != static_cast<std::size_t>(-1) || error == E2BIG) {
                continue;
            }
            // EILSEQ (invalid or unmappable) or EINVAL (cut off at the end).
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            const std::size_t skip = onInvalid(in, out);
            if (skip == 0) {
                return false;
            }
            in.remove_prefix(skip < in.size() ? skip : in.size());
        }
        return true;
    }

private:
    iconv_t cd_;
};

// Opening a descriptor costs far more than converting the few characters
// of a barcode's texts, and a picture converts them several times: each
// thread keeps one descriptor for each direction.
Converter& ToCp932()
{
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

Converter& FromCp932()
{
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// The length of the UTF-8 sequence `text` starts with, as far as its bytes
// go; at least 1, so a caller skipping it always moves on.
std::size_t Utf8SequenceLength(std::string_view text)
{
    std::size_t length = 1;
    while (length < text.size() && length < 4
           && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        ++length;
    }
    return length;
}

}  // namespace

bool Utf8ToCp932(std::string_view utf8, std::string& out)
{
    out.clear();
    return ToCp932().convert(utf8, out,
                             [](std::string_view, std::string&) -> std::size_t { return 0; });
}

std::string Cp932ToUtf8(std::string_view cp932)
{
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    Converter& converter = FromCp932();
    // A lead byte with a bad trail byte gives up only the lead byte: the
    // trail byte may be a character of its own (0x81 0x41 vs 0x81 'A').
    const bool converted = converter.convert(
        cp932, out, [](std::string_view, std::string& text) -> std::size_t {
            text.append(kReplacementUtf8);
            return 1;
        });
    if (!converted) {
        // Only when the charset is missing from the system: keep ASCII, mark the rest.
        out.clear();
        for (const char byte : cp932) {
            if (static_cast<unsigned char>(byte) < 0x80) {
                out.push_back(byte);
            } else {
                out.append(kReplacementUtf8);
            }
        }
    }
    return out;
}

std::optional<std::string> Utf8ToCp932Lossy(std::string_view utf8)
{
    std::string out;
    const bool converted = ToCp932().convert(
        utf8, out, [](std::string_view rest, std::string& bytes) -> std::size_t {
            bytes.push_back('?');
            return Utf8SequenceLength(rest);
        });
    if (!converted) {
        return std::nullopt;  // only when the charset is missing from the system
    }
    return out;
}

}  // namespace kestrel
