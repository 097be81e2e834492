#include "CliRun.h"

#include "export/SaveBitmap.h"
#include "document/BarCodeDoc.h"
#include "profile/MemoryProfile.h"
#include "profile/ProfileSchema.h"
#include "profile/SettingsProfile.h"
#include "render/ImageCanvas.h"
#include "symbology/CodeValidator.h"
#include "symbology/Symbology.h"
#include "symbology/ValidationResult.h"
#include "text/Cp932.h"

#include <QString>

#include <fstream>
#include <memory>
#include <optional>

namespace kestrel::cli {

namespace {

// The code dialog's edit box takes no more than this many bytes.
constexpr std::size_t MaxCodeTextBytes = 128;

std::unique_ptr<SettingsProfile> OpenProfile(const CliOptions& options)
{
    if (options.profilePath) {
        return std::make_unique<SettingsProfile>(QString::fromStdString(*options.profilePath),
                                                 SettingsProfile::Access::ReadOnly);
    }
    return std::make_unique<SettingsProfile>(SettingsProfile::Access::ReadOnly);
}

void ApplyFields(const CliOptions& options, CBarCodeDoc& doc)
{
    if (options.codeType) doc.CodeType = *options.codeType;
    if (options.check) doc.Check = *options.check;
    if (options.autoAdd) doc.AutoAdd = *options.autoAdd;
    if (doc.AutoAdd && options.autoAdd) doc.Check = 1;  // as ticking "自動付加" does
    if (options.aspect) doc.Aspect = *options.aspect;
    if (options.narrowWidth) doc.NWidth = *options.narrowWidth;
    if (options.codabarGapX) doc.CodabarGapX = *options.codabarGapX;
    if (options.code39GapX) doc.Code39GapX = *options.code39GapX;
    if (options.codabarStart) doc.CodabarStart = *options.codabarStart;
    if (options.codabarStop) doc.CodabarStop = *options.codabarStop;
    if (options.width) doc.Width = *options.width;
    if (options.height) doc.Height = *options.height;
    if (options.xmargin) doc.Xmargin = *options.xmargin;
    if (options.ymargin) doc.Ymargin = *options.ymargin;
    if (options.dispCode) doc.DispCode = *options.dispCode;
    if (options.codeHigh) doc.CodeHigh = *options.codeHigh;
}

// The code dialog keeps bearer bars only where they frame the symbol:
// JAN-13, JAN-8, and ITF texts of 6, 14 or 16 characters.
int BearerFor(int wanted, int codeType, const CodeText& text)
{
    if (codeType == Jan13 || codeType == Jan8) {
        return wanted;
    }
    if (codeType == Itf && (text.size() == 6 || text.size() == 14 || text.size() == 16)) {
        return wanted;
    }
    return 0;
}

// The outcome of one text: a message for the user when it failed. The
// acceptance messages are the code dialog's own and are shown as they are.
struct Outcome {
    int status = Success;
    std::string message;
    bool dialogMessage = false;
};

class Request {
public:
    Request(const CliOptions& options, Profile& profile, CBarCodeDoc& doc)
        : options_(options), profile_(profile), doc_(doc),
          bearerWanted_(options.bearer.value_or(doc.Case))
    {
    }

    // Accepts, encodes, prints and writes one text.
    Outcome Make(const std::string& dataUtf8, const std::optional<std::string>& outputName,
                 std::ostream& out)
    {
        CodeText text;
        if (!Utf8ToCp932(dataUtf8, text)) {
            return {UsageError, "the text is not UTF-8 that code page 932 can hold"};
        }
        if (text.size() > MaxCodeTextBytes) {
            return {UsageError, std::to_string(text.size()) + " bytes in code page 932, at most "
                                    + std::to_string(MaxCodeTextBytes) + " are allowed"};
        }
        // Every text starts afresh: a batch line must never draw the line
        // before it. Like the dialog, an empty text is simply not taken.
        doc_.CodeText.clear();
        if (!text.empty()) {
            CodeValidator validator(text, doc_.Check, doc_.AutoAdd, doc_.CodeType,
                                    ReadCodabarOptions(profile_));
            if (const int result = validator.Accept(); result != Accepted) {
                return {Rejected, std::string(ValidationMessage(result)), true};
            }
            doc_.CodeText = validator.Text();
        }
        doc_.Case = BearerFor(bearerWanted_, doc_.CodeType, doc_.CodeText);

        if (doc_.HasCodeText() && doc_.Encode() == 0) {
            return {Rejected, "the text cannot be drawn with these settings (check character"
                              " or ratio, narrow width and gaps from the profile)"};
        }
        for (const Output output : options_.outputs) {
            switch (output) {
            case Output::ModuleText: out << doc_.ModuleText() << '\n'; break;
            case Output::CodeText: out << Cp932ToUtf8(doc_.CodeText) << '\n'; break;
            }
        }
        if (outputName) {
            SaveProblem problem = SaveProblem::None;
            if (SaveBitmap(doc_, profile_, canvases_, *outputName, &problem) != 1) {
                return {Rejected, problem == SaveProblem::NothingToSave
                                      ? "no data to draw, nothing written to " + *outputName
                                      : "cannot write " + *outputName};
            }
        }
        return {};
    }

private:
    const CliOptions& options_;
    Profile& profile_;
    CBarCodeDoc& doc_;
    int bearerWanted_;
    ImageCanvasFactory canvases_;
};

std::string NumberedName(std::string pattern, int lineNumber)
{
    const std::string number = std::to_string(lineNumber);
    for (std::size_t at = pattern.find("{n}"); at != std::string::npos;
         at = pattern.find("{n}", at + number.size())) {
        pattern.replace(at, 3, number);
    }
    return pattern;
}

int RunBatch(Request& request, const CliOptions& options, std::istream& in, std::ostream& out,
             std::ostream& err)
{
    std::ifstream file;
    std::istream* lines = &in;
    if (*options.batchPath != "-") {
        file.open(*options.batchPath, std::ios::binary);
        if (!file) {
            err << "kestrel-cli: --batch: cannot read " << *options.batchPath << '\n';
            return UsageError;
        }
        lines = &file;
    }
    bool anyFailed = false;
    int lineNumber = 0;
    for (std::string line; std::getline(*lines, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const Outcome outcome =
            request.Make(line, NumberedName(*options.outputPath, lineNumber), out);
        if (outcome.status != Success) {
            err << "line " << lineNumber << ": " << outcome.message << '\n';
            anyFailed = true;
        }
    }
    out.flush();
    return anyFailed || !out ? Rejected : Success;
}

}  // namespace

int Run(const CliOptions& options, const std::string& programPath, std::istream& in,
        std::ostream& out, std::ostream& err)
{
    if (options.help) {
        out << UsageText();
        return Success;
    }

    const std::unique_ptr<SettingsProfile> stored = OpenProfile(options);
    // Every write of this run (the document's own included) stays in memory.
    MemoryProfile profile(stored.get());
    for (const ProfileOverride& override : options.overrides) {
        std::string value;
        if (!Utf8ToCp932(override.valueUtf8, value)) {
            err << "kestrel-cli: --set " << override.section << '/' << override.key
                << ": the value cannot be written in code page 932\n";
            return UsageError;
        }
        profile.WriteProfileString(override.section, override.key, value);
    }
    if (options.depth) {
        profile::Write(profile, profile::Bitmap, *options.depth);
    }

    WorkingGaps gaps;
    CBarCodeDoc doc(profile, gaps, programPath);
    ApplyFields(options, doc);
    Request request(options, profile, doc);

    if (options.batchPath) {
        return RunBatch(request, options, in, out, err);
    }
    const Outcome outcome = request.Make(options.dataUtf8.value_or(std::string()),
                                         options.outputPath, out);
    out.flush();
    if (outcome.status == UsageError) {
        err << "kestrel-cli: --data: " << outcome.message << '\n';
    } else if (outcome.dialogMessage) {
        err << outcome.message << '\n';
    } else if (outcome.status != Success) {
        err << "kestrel-cli: " << outcome.message << '\n';
    }
    return outcome.status != Success ? outcome.status : (out ? Success : Rejected);
}

}  // namespace kestrel::cli
