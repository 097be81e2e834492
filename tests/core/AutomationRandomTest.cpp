// A long seeded stream of messages with arbitrary numbers and clipboard
// contents, the way a careless or hostile client would send them: every
// answer must be one its message can give, and the document must stay sound.

#include "AutomationFakes.h"

#include <cstdint>
#include <iterator>
#include <optional>
#include <random>
#include <string>

namespace kestrel {
namespace {

using Random = std::mt19937;

bool Chance(Random& random, int percent)
{
    return std::uniform_int_distribution<int>(0, 99)(random) < percent;
}

std::uint32_t Number(Random& random)
{
    static constexpr std::uint32_t edges[] = {0,           1,           0xFFFFFFFFU, 0x7FFF,
                                              0x8000,      0xFFFF,      0x10000,     0x7FFFFFFFU,
                                              0x80000000U, 0x80008000U, 0x7FFF7FFF};
    switch (std::uniform_int_distribution<int>(0, 3)(random)) {
    case 0: return std::uniform_int_distribution<std::uint32_t>(0, 12)(random);
    case 1:
        return edges[std::uniform_int_distribution<std::size_t>(0, std::size(edges) - 1)(random)];
    case 2:
        return std::uniform_int_distribution<std::uint32_t>(0, 300)(random) << 16
               | std::uniform_int_distribution<std::uint32_t>(0, 0xFFFF)(random);
    default: return static_cast<std::uint32_t>(random());
    }
}

// Mostly the selectors the messages know, so their paths are all walked.
std::uint32_t Selector(Random& random)
{
    if (Chance(random, 40)) {
        return Number(random);
    }
    return Chance(random, 70) ? std::uniform_int_distribution<std::uint32_t>(0, 4)(random)
                              : std::uniform_int_distribution<std::uint32_t>(5, 12)(random);
}

std::uint32_t Message(Random& random)
{
    if (Chance(random, 85)) {
        return UM_CLIPTEXT + std::uniform_int_distribution<std::uint32_t>(0, 4)(random);
    }
    return Chance(random, 50)
               ? UM_CLIPTEXT - 1 + 6 * std::uniform_int_distribution<std::uint32_t>(0, 1)(random)
               : Number(random);
}

// Digits, Codabar and Code 39 framing, bytes of every value including zeros
// and broken double-byte characters, line breaks, and now and then a very
// long line.
std::string ClipboardText(Random& random)
{
    static constexpr char alphabet[] = "0123456789*ABCDabcd-+$/.:% \r\n";
    const bool longLine = Chance(random, 1);
    const std::size_t length = longLine
                                   ? std::uniform_int_distribution<std::size_t>(2000, 20000)(random)
                                   : std::uniform_int_distribution<std::size_t>(0, 40)(random);
    // Plain digits most symbologies take, so the stream reaches the
    // encoders' success paths too.
    const int kind = std::uniform_int_distribution<int>(0, 9)(random);
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        text += kind < 4   ? static_cast<char>('0' + random() % 10)
                : kind < 7 ? alphabet[random() % (sizeof alphabet - 1)]
                           : static_cast<char>(random() & 0xFFU);
    }
    if (Chance(random, 10)) {
        text += '\x81';  // a double-byte lead with no trail
    }
    return text;
}

bool IsModuleText(const std::string& text)
{
    return text.find_first_not_of("-123,") == std::string::npos;
}

TEST(AutomationRandom, AnyMessageStreamGetsAPossibleAnswerAndKeepsTheDocumentSound)
{
    test::AutomationRig rig;
    CBarCodeDoc& doc = rig.doc;
    test::FakeClipboard& clipboard = rig.clipboard;
    Random random(0x4B657374);  // fixed: a failure repeats
    int moduleTexts = 0;        // answers that reached the success paths
    int pictures = 0;

    for (int step = 0; step < 10000; ++step) {
        const std::uint32_t message = Message(random);
        const std::uint32_t wParam = Selector(random);
        const auto lParam = static_cast<std::int32_t>(Number(random));
        if (Chance(random, 70)) {
            clipboard.text = ClipboardText(random);
        } else {
            clipboard.text.reset();
        }
        clipboard.refuseOpen = Chance(random, 10);
        clipboard.refuseEmpty = Chance(random, 10);
        clipboard.refusePut = Chance(random, 5);
        rig.saveResult = Chance(random, 50) ? 1 : 0;
        SCOPED_TRACE(testing::Message() << "step " << step << ": " << std::hex << message << " "
                                        << wParam << " " << lParam);

        const int codeTypeBefore = doc.CodeType;
        const int putsBefore = clipboard.puts;
        const int copiesBefore = rig.copies;
        const int savesBefore = rig.saves;
        const int opensBefore = clipboard.opens;
        const std::optional<std::int32_t> answer = rig.automation.Dispatch(message, wParam, lParam);

        // Closed again after each message; the rig checks the rest when it goes.
        ASSERT_EQ(clipboard.opens, clipboard.closes);
        ASSERT_GE(doc.ModuleSequence.count, 0);
        ASSERT_LE(doc.ModuleSequence.count, ModuleSequence::Capacity);
        const bool typeSet = message == UM_SETTYPE && wParam <= 11;
        ASSERT_EQ(doc.CodeType, typeSet ? static_cast<int>(wParam) : codeTypeBefore);
        if (message != UM_CLIPTEXT) {
            ASSERT_EQ(clipboard.opens, opensBefore);
        }
        const bool copied = rig.copies != copiesBefore;
        const bool saved = rig.saves != savesBefore;
        ASSERT_FALSE(saved && !(message == UM_OUTPUT && wParam == 1));

        switch (message) {
        case UM_CLIPTEXT:
            ASSERT_TRUE(answer);
            if (wParam == 0) {
                if (clipboard.refuseOpen) {
                    ASSERT_EQ(*answer, -1);
                } else if (clipboard.refuseEmpty || clipboard.refusePut) {
                    ASSERT_EQ(*answer, -2);
                } else {
                    ASSERT_EQ(clipboard.puts, putsBefore + 1);
                    ASSERT_EQ(static_cast<std::size_t>(*answer), clipboard.text->size());
                    ASSERT_LE(*answer, 1535);
                    ASSERT_TRUE(IsModuleText(*clipboard.text));
                    moduleTexts += *answer > 0 ? 1 : 0;
                }
            } else {
                ASSERT_EQ(*answer, wParam == 1 ? 0 : -1);
            }
            break;
        case UM_SETTYPE: ASSERT_EQ(answer, typeSet ? 0 : -1); break;
        case UM_SETOPTION: ASSERT_EQ(answer, wParam <= 4 ? 0 : -1); break;
        case UM_SETVALUE:
            ASSERT_EQ(answer,
                      wParam <= 3 || (wParam == 4 && lParam >= 10 && lParam <= 200) ? 0 : -1);
            break;
        case UM_OUTPUT:
            if (wParam == 1) {
                ASSERT_EQ(answer, rig.saveResult == 1 ? 0 : -1);
            } else {
                ASSERT_EQ(answer, wParam == 0 && copied ? 0 : -1);
            }
            break;
        default: ASSERT_EQ(answer, std::nullopt); break;
        }
        if (message != UM_CLIPTEXT && message != UM_OUTPUT) {
            ASSERT_FALSE(copied);
        }
        pictures += copied ? 1 : 0;
    }
    // A stream that stopped reaching them would pass while testing little.
    EXPECT_GE(moduleTexts, 50);
    EXPECT_GE(pictures, 30);
}

}  // namespace
}  // namespace kestrel
