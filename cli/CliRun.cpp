#include "CliRun.h"

#include "document/BarCodeDoc.h"
#include "document/MemoryProfile.h"
#include "profile/SettingsProfile.h"
#include "symbology/CodeValidator.h"
#include "symbology/ValidationResult.h"
#include "text/Cp932.h"

#include <QString>

#include <memory>

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
}

}  // namespace

int Run(const CliOptions& options, const std::string& programPath, std::ostream& out,
        std::ostream& err)
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

    WorkingGaps gaps;
    CBarCodeDoc doc(profile, gaps, programPath);
    ApplyFields(options, doc);

    if (options.dataUtf8) {
        CodeText text;
        if (!Utf8ToCp932(*options.dataUtf8, text)) {
            err << "kestrel-cli: --data: the text is not UTF-8 that code page 932 can hold\n";
            return UsageError;
        }
        if (text.size() > MaxCodeTextBytes) {
            err << "kestrel-cli: --data: " << text.size() << " bytes in code page 932, at most "
                << MaxCodeTextBytes << " are allowed\n";
            return UsageError;
        }
        // Like the dialog, an empty text is simply not taken.
        if (!text.empty()) {
            CodeValidator validator(text, doc.Check, doc.AutoAdd, doc.CodeType,
                                    ReadCodabarOptions(profile));
            if (const int result = validator.Accept(); result != Accepted) {
                err << ValidationMessage(result) << '\n';
                return Rejected;
            }
            doc.CodeText = validator.Text();
        }
    }

    if (doc.HasCodeText() && doc.Encode() == 0) {
        err << "kestrel-cli: the text cannot be drawn with these settings (check character"
               " or ratio, narrow width and gaps from the profile)\n";
        return Rejected;
    }

    for (const Output output : options.outputs) {
        switch (output) {
        case Output::ModuleText:
            out << doc.ModuleText() << '\n';
            break;
        case Output::CodeText:
            out << Cp932ToUtf8(doc.CodeText) << '\n';
            break;
        }
    }
    out.flush();
    return out ? Success : Rejected;
}

}  // namespace kestrel::cli
