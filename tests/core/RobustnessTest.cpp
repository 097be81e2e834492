// Any bytes with any settings: nothing reads or writes out of bounds (the
// sanitizer build runs this too), and the document stays consistent.

#include "document/BarCodeDoc.h"
#include "profile/MemoryProfile.h"
#include "symbology/CodeValidator.h"
#include "symbology/Symbology.h"
#include "symbology/ValidationResult.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

namespace kestrel {
namespace {

class RandomInput {
public:
    explicit RandomInput(unsigned seed) : engine_(seed) {}

    int Between(int low, int high)
    {
        return std::uniform_int_distribution<int>(low, high)(engine_);
    }

    // Mostly small in-range values, sometimes anything at all.
    int Setting(int low, int high)
    {
        switch (Between(0, 9)) {
        case 0: return Between(INT_MIN, INT_MAX);
        case 1: return Between(low - 3, high + 3);
        default: return Between(low, high);
        }
    }

    CodeText Text()
    {
        const int length = Between(0, 9) == 0 ? Between(0, 1000) : Between(0, 40);
        const int alphabet = Between(0, 2);
        CodeText text;
        for (int i = 0; i < length; ++i) {
            switch (alphabet) {
            case 0: text += static_cast<char>(Between(0, 255)); break;
            case 1: text += static_cast<char>(Between('0', '9')); break;
            default: text += "0123456789ABCDabcd*-$:/.+% \\tne"[Between(0, 30)]; break;
            }
        }
        return text;
    }

private:
    std::mt19937 engine_;
};

void ExpectConsistent(const CBarCodeDoc& doc)
{
    const auto& sequence = doc.ModuleSequence;
    ASSERT_GE(sequence.count, 0);
    ASSERT_LE(sequence.count, ModuleSequence::Capacity);
    for (int i = 0; i < sequence.count; ++i) {
        const int element = sequence.elements[static_cast<std::size_t>(i)];
        ASSERT_NE(element, 0) << "element " << i;
        // Bars and spaces alternate, starting with a bar.
        ASSERT_EQ(element < 0, i % 2 == 0) << "element " << i;
    }
}

TEST(Robustness, AnyBytesAndSettingsKeepTheDocumentConsistent)
{
    RandomInput random(20261207);
    MemoryProfile profile;
    WorkingGaps gaps;
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    int acceptedAndDrawn = 0;
    for (int round = 0; round < 6000; ++round) {
        profile.WriteProfileInt("Codabar", "CheckDegit", random.Setting(0, 3));
        profile.WriteProfileInt("Codabar", "StartChar", random.Setting(0, 7));
        profile.WriteProfileInt("Codabar", "StopChar", random.Setting(0, 7));
        doc.CodeType = random.Setting(0, 11);
        doc.Check = random.Setting(0, 1);
        doc.AutoAdd = random.Setting(0, 1);
        doc.Aspect = random.Setting(0, 2);
        doc.NWidth = random.Setting(1, 50);
        doc.CodabarGapX = random.Setting(1, 10);
        doc.Code39GapX = random.Setting(1, 10);
        doc.SetCodabarStartStop(random.Between(INT_MIN, INT_MAX));
        doc.CodeText = random.Text();

        const auto sequenceBefore = doc.ModuleSequence;
        const CodeText textBefore = doc.CodeText;
        const int result = EncodeNumber(doc.Encode(ReadCodabarOptions(profile)));
        ASSERT_TRUE(result == 0 || result == 1);
        if (result == 0) {
            ASSERT_EQ(doc.ModuleSequence, sequenceBefore) << "a refusal keeps the sequence";
            ASSERT_EQ(doc.CodeText, textBefore) << "a refusal keeps the text";
        }
        ExpectConsistent(doc);

        const std::string moduleText = doc.ModuleText(ReadCodabarOptions(profile));
        ASSERT_LE(moduleText.size(), 1535U);
        ExpectConsistent(doc);

        CodeValidator validator(doc.CodeText, doc.Check, doc.AutoAdd, doc.CodeType,
                                ReadCodabarOptions(profile));
        const int accepted = ValidationNumber(validator.Accept());
        ASSERT_TRUE(accepted == 0 || accepted == 1 || accepted == 2 || accepted == 3
                    || accepted == 5)
            << accepted;
        if (accepted == 0 && IsSymbology(doc.CodeType) && doc.NWidth >= 1 && doc.NWidth <= 50
            && doc.Aspect >= 0 && doc.Aspect <= 2 && doc.CodabarGapX >= 1 && doc.CodabarGapX <= 10
            && doc.Code39GapX >= 1 && doc.Code39GapX <= 10 && doc.Check == 1) {
            // What acceptance lets through, the encoder draws.
            doc.CodeText = validator.Text();
            ASSERT_EQ(EncodeNumber(doc.Encode(ReadCodabarOptions(profile))), 1)
                << "type " << doc.CodeType << " text " << doc.CodeText << " autoAdd "
                << doc.AutoAdd;
            ++acceptedAndDrawn;
        }

        doc.Recomplete(ReadCodabarOptions(profile));
        ExpectConsistent(doc);

        Archive stored = Archive::ForStoring();
        doc.Serialize(stored, ReadCodabarOptions(profile));
        ASSERT_EQ(doc.ModuleTextLength, static_cast<int>(stored.Text().size()));
        Archive loaded = Archive::ForLoading(random.Text());
        doc.Serialize(loaded, ReadCodabarOptions(profile));
        ExpectConsistent(doc);
    }
    EXPECT_GT(acceptedAndDrawn, 200) << "the inputs should often be acceptable";
}

}  // namespace
}  // namespace kestrel
