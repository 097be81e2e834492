// The command line and the code dialog's model take and refuse the same
// input with the same message.

#include "CliRun.h"
#include "document/BarCodeDoc.h"
#include "document/CodeEntry.h"
#include "profile/MemoryProfile.h"
#include "symbology/CodeValidator.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kestrel::cli {
namespace {

struct Case {
    const char* data;
    int type;
    int autoAdd;
    int check;
    // One number, as the command line flag and the dialog's box.
    const char* flag;
    CodeNumber number;
    const char* value;
    bool accepted;
};

// What the model says: accepted, or the message the dialog would show.
std::pair<bool, std::string> ThroughTheModel(const Case& c)
{
    MemoryProfile profile;
    WorkingGaps gaps;
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    CodeEntry entry;
    entry.FillFrom(doc);
    entry.values.codeType = c.type;
    entry.values.check = c.check;
    entry.values.autoAdd = c.autoAdd;
    entry.AutoAddSetsCheck();
    CodeEntryControls controls = entry.Controls();
    controls.codeText = c.data;
    controls.Number(c.number) = c.value;
    const CodeEntryOutcome outcome = entry.Ok(controls, ReadCodabarOptions(profile));
    return {outcome.kind == CodeEntryOutcome::Kind::Accepted, outcome.message};
}

// What the command line says: exit status 0, or what it printed.
std::pair<bool, std::string> ThroughTheCommandLine(const Case& c, const std::string& profilePath)
{
    const std::vector<std::string> arguments{"--profile",  profilePath,
                                             "--data",     c.data,
                                             "--type",     std::to_string(c.type),
                                             "--check",    std::to_string(c.check),
                                             "--auto-add", std::to_string(c.autoAdd),
                                             c.flag,       c.value};
    CliOptions options;
    std::string error;
    if (!ParseCommandLine(arguments, options, error)) {
        return {false, error};
    }
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    const int status = Run(options, in, out, err);
    return {status == Success, err.str()};
}

TEST(CodeEntryAgreement, TheCommandLineAcceptsAsTheDialogDoes)
{
    const Case cases[] = {
        {"490123456789", 0, 1, 0, "--height", CodeNumber::Height, "150", true},
        {"490123456789", 0, 0, 1, "--height", CodeNumber::Height, "150", false},
        {"4901234567895", 0, 0, 1, "--width", CodeNumber::Width, "300", false},
        {"12345670", 1, 1, 1, "--narrow", CodeNumber::NarrowWidth, "2", false},
        {"123", 2, 0, 0, "--xmargin", CodeNumber::LeftMargin, "0", true},
        {"12a", 3, 0, 0, "--ymargin", CodeNumber::TopMargin, "100", false},
        {"A#B", 5, 1, 1, "--text-height", CodeNumber::TextHeight, "200", false},
        {"CODE 39", 5, 1, 0, "--text-height", CodeNumber::TextHeight, "10", true},
        // A good text with a number the dialog refuses.
        {"490123456789", 0, 1, 1, "--height", CodeNumber::Height, "1000", false},
        {"490123456789", 0, 1, 1, "--height", CodeNumber::Height, "-5", false},
        {"490123456789", 0, 1, 1, "--height", CodeNumber::Height, "1.5", false},
        {"490123456789", 0, 1, 1, "--width", CodeNumber::Width, "-1", false},
        {"490123456789", 0, 1, 1, "--width", CodeNumber::Width, "10000", false},
        {"490123456789", 0, 1, 1, "--xmargin", CodeNumber::LeftMargin, "-0", false},
        {"490123456789", 0, 1, 1, "--narrow", CodeNumber::NarrowWidth, "0", false},
        {"490123456789", 0, 1, 1, "--narrow", CodeNumber::NarrowWidth, " 50 ", true},
        {"490123456789", 0, 1, 1, "--width", CodeNumber::Width, "+9999", true},
        {"490123456789", 0, 1, 1, "--text-height", CodeNumber::TextHeight, "", false},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string profilePath = dir.filePath("Kestrel.ini").toStdString();
    for (const Case& c : cases) {
        const auto [modelAccepts, modelMessage] = ThroughTheModel(c);
        const auto [cliAccepts, cliMessage] = ThroughTheCommandLine(c, profilePath);
        const std::string name = std::string(c.data) + " " + c.flag + " '" + c.value + "'";
        EXPECT_EQ(modelAccepts, c.accepted) << name << ": " << modelMessage;
        EXPECT_EQ(cliAccepts, c.accepted) << name << ": " << cliMessage;
        if (!c.accepted) {
            ASSERT_FALSE(modelMessage.empty()) << name;
            EXPECT_NE(cliMessage.find(modelMessage), std::string::npos)
                << name << ": " << cliMessage << " / " << modelMessage;
        }
    }
}

}  // namespace
}  // namespace kestrel::cli
