#include "CliRun.h"

#include "PictureFile.h"
#include "VerifyPicture.h"
#include "export/SaveBitmap.h"
#include "document/BarCodeDoc.h"
#include "document/CodeEntry.h"
#include "profile/MemoryProfile.h"
#include "profile/ProfileSchema.h"
#include "profile/SettingsProfile.h"
#include "render/ImageCanvas.h"
#include "symbology/CodeValidator.h"
#include "text/Cp932.h"

#include <QString>

#include <fstream>
#include <memory>
#include <optional>

namespace kestrel::cli {

namespace {

std::unique_ptr<SettingsProfile> OpenProfile(const CliOptions& options)
{
    if (options.profilePath) {
        return std::make_unique<SettingsProfile>(QString::fromStdString(*options.profilePath),
                                                 SettingsProfile::Access::ReadOnly);
    }
    return std::make_unique<SettingsProfile>(SettingsProfile::Access::ReadOnly);
}

// The command line fills the code dialog's values as a user would: the
// document's, then the flags given; ticking "自動付加" also ticks "ON".
// The gaps and Codabar start and stop are the options sheet's and the
// document's, not the dialog's.
void ApplyFields(const CliOptions& options, CBarCodeDoc& doc, WorkingGaps& gaps,
                 CodeEntry& entry)
{
    entry.FillFrom(doc);
    CodeEntryValues& values = entry.values;
    if (options.codeType) values.codeType = *options.codeType;
    if (options.check) values.check = *options.check;
    if (options.autoAdd) {
        values.autoAdd = *options.autoAdd;
        entry.AutoAddSetsCheck();
    }
    if (options.aspect) values.aspect = *options.aspect;
    if (options.narrowWidth) values.nwidth = *options.narrowWidth;
    if (options.width) values.width = *options.width;
    if (options.height) values.height = *options.height;
    if (options.xmargin) values.xmargin = *options.xmargin;
    if (options.ymargin) values.ymargin = *options.ymargin;
    if (options.dispCode) values.dispCode = *options.dispCode;
    if (options.codeHigh) values.codeHigh = *options.codeHigh;
    if (options.bearer) values.bearer = *options.bearer;
    if (options.codabarGapX) gaps.codabarGapX = *options.codabarGapX;
    if (options.code39GapX) gaps.code39GapX = *options.code39GapX;
    if (options.codabarStart) doc.CodabarStart = *options.codabarStart;
    if (options.codabarStop) doc.CodabarStop = *options.codabarStop;
}

// The outcome of one text: a message for the user when it failed, or a
// note when it succeeded unchecked. The acceptance messages are the code
// dialog's own and, like the reports of --verify, are shown as they are.
struct Outcome {
    int status = Success;
    std::string message;
    bool dialogMessage = false;
};

class Request {
public:
    Request(const CliOptions& options, Profile& profile, CBarCodeDoc& doc,
            const WorkingGaps& gaps, CodeEntry& entry)
        : options_(options), profile_(profile), doc_(doc), gaps_(gaps), entry_(entry)
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
        if (!CodeEntry::CodeTextFits(text)) {
            return {UsageError, std::to_string(text.size()) + " bytes in code page 932, at most "
                                    + std::to_string(CodeEntry::MaxCodeTextBytes)
                                    + " are allowed"};
        }
        // Every text starts afresh: a batch line must never draw the line
        // before it. Where the dialog would ignore an empty text, the
        // document is given none.
        entry_.values.codeText = text;
        const CodeEntryOutcome accepted = entry_.Accept(ReadCodabarOptions(profile_));
        if (accepted.kind == CodeEntryOutcome::Kind::Rejected) {
            return {Rejected, accepted.message, true};
        }
        if (entry_.ApplyTo(doc_, gaps_) == 0 && doc_.HasCodeText()) {
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
            const PictureFormat format = options_.format.value_or(
                FormatFromFileName(*outputName).value_or(PictureFormat::Bmp));
            std::optional<BmpDepth> depth;
            if (options_.bitsPerPixel) {
                depth = BmpDepth{*options_.bitsPerPixel, options_.runLength};
            }
            if (SavePictureFile(doc_, profile_, canvases_, *outputName, format, depth, &problem)
                != 1) {
                return {Rejected, problem == SaveProblem::NothingToSave
                                      ? "no data to draw, nothing written to " + *outputName
                                      : "cannot write " + *outputName};
            }
            if (options_.verify) {
                return Verify(*outputName, format);
            }
        }
        return {};
    }

private:
    // BMP and PNG are read back from the file, so a fault of the depth
    // conversion shows; SVG and PDF through the raster the same drawing
    // gives, as no reader here parses them.
    Outcome Verify(const std::string& fileName, PictureFormat format)
    {
        const bool raster = format == PictureFormat::Bmp || format == PictureFormat::Png;
        const RgbPicture picture =
            raster ? ReadPictureFile(fileName) : DrawPicture(doc_, profile_, canvases_);
        const ScanResult scan = VerifyScan(picture, doc_.CodeType, Cp932ToUtf8(doc_.CodeText));
        switch (scan.scan) {
        case Scan::Read: return {};
        case Scan::NotVerified: return {Success, "not verified: " + scan.detail, true};
        case Scan::NotRead: break;
        }
        return {DoesNotScan,
                "written but does not scan: "
                    + (picture.pixels.empty() ? "cannot read " + fileName + " back" : scan.detail),
                true};
    }

    const CliOptions& options_;
    Profile& profile_;
    CBarCodeDoc& doc_;
    const WorkingGaps& gaps_;
    CodeEntry& entry_;
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
    bool anyUnscanned = false;
    int lineNumber = 0;
    for (std::string line; std::getline(*lines, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const Outcome outcome =
            request.Make(line, NumberedName(*options.outputPath, lineNumber), out);
        if (!outcome.message.empty()) {
            err << "line " << lineNumber << ": " << outcome.message << '\n';
        }
        anyUnscanned = anyUnscanned || outcome.status == DoesNotScan;
        anyFailed = anyFailed || (outcome.status != Success && outcome.status != DoesNotScan);
    }
    out.flush();
    return anyFailed || !out ? Rejected : anyUnscanned ? DoesNotScan : Success;
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
    CodeEntry entry;
    ApplyFields(options, doc, gaps, entry);
    Request request(options, profile, doc, gaps, entry);

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
