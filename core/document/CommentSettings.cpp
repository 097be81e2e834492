#include "document/CommentSettings.h"

#include "profile/Profile.h"
#include "profile/ProfileSchema.h"

namespace kestrel {

CommentSettings ReadCommentSettings(const Profile& profile)
{
    CommentSettings settings;
    settings.line1Text = profile::Read(profile, profile::String1);
    settings.line1Height = profile::Read(profile, profile::High1ForDialog);
    settings.line2Text = profile::Read(profile, profile::String2);
    settings.line2Height = profile::Read(profile, profile::High2ForDialog);
    return settings;
}

void WriteCommentSettings(Profile& profile, const CommentSettings& settings)
{
    profile::Write(profile, profile::String1, settings.line1Text);
    profile::Write(profile, profile::High1ForDialog, settings.line1Height);
    profile::Write(profile, profile::String2, settings.line2Text);
    profile::Write(profile, profile::High2ForDialog, settings.line2Height);
}

CommentAcceptance AcceptCommentEntry(const CommentEntry& entry)
{
    CommentAcceptance acceptance;
    const auto takeLine = [&](const std::optional<std::string>& text, CommentField field,
                              std::string& into) {
        if (!text) {
            acceptance.failedField = field;
            acceptance.textNotStorable = true;
            return false;
        }
        into = *text;
        return true;
    };
    const auto takeHeight = [&](const std::string& text, CommentField field, int& into) {
        const FieldReading reading = ReadIntegerField(text, CommentHeightField);
        if (!reading.Ok()) {
            acceptance.failedField = field;
            acceptance.heightError = reading.error;
            return false;
        }
        into = reading.value;
        return true;
    };
    CommentSettings& settings = acceptance.settings;
    // Short-circuit: only the first failure counts.
    (void)(takeLine(entry.line1Text, CommentField::Line1Text, settings.line1Text)
           && takeLine(entry.line2Text, CommentField::Line2Text, settings.line2Text)
           && takeHeight(entry.line1Height, CommentField::Line1Height, settings.line1Height)
           && takeHeight(entry.line2Height, CommentField::Line2Height, settings.line2Height));
    return acceptance;
}

}  // namespace kestrel
