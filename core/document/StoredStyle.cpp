#include "document/StoredStyle.h"

#include "document/BarCodeDoc.h"
#include "profile/Profile.h"
#include "profile/ProfileSchema.h"

namespace kestrel {

namespace {

// A bearer width the profile holds, or none: a key that is missing or
// cannot be read answers each read with its own default, a stored value
// answers both with itself.
std::optional<int> StoredWidth(const Profile& profile, const profile::IntKey& key)
{
    const int withZero = profile.GetProfileInt(key.section, key.key, 0);
    const int withOne = profile.GetProfileInt(key.section, key.key, 1);
    return withZero == withOne ? std::optional<int>(withZero) : std::nullopt;
}

CommentLine ReadComment(const Profile& profile, const profile::StringKey& text,
                        const profile::IntKey& height, const profile::IntKey& colour)
{
    CommentLine line;
    line.text = profile::Read(profile, text);
    if (!line.text.empty()) {
        line.height = profile::Read(profile, height);
        line.colour = static_cast<Colour>(profile::Read(profile, colour));
    }
    return line;
}

}  // namespace

DrawStyle ReadDrawStyle(const Profile& profile)
{
    DrawStyle style;
    style.background = static_cast<Colour>(profile::Read(profile, profile::BackColor));
    style.bars = static_cast<Colour>(profile::Read(profile, profile::BarColor));
    style.text = static_cast<Colour>(profile::Read(profile, profile::CodeColor));
    style.comment1 = ReadComment(profile, profile::String1, profile::High1ForDrawing,
                                 profile::Color1);
    style.comment2 = ReadComment(profile, profile::String2, profile::High2ForDrawing,
                                 profile::Color2);
    style.janDigitsInBoxes = profile::Read(profile, profile::JanCodeOut) != 0;
    style.janBearerWidth = StoredWidth(profile, profile::JanCaseWidthForOptions);
    style.itfBearerWidth = StoredWidth(profile, profile::ItfCaseWidthForOptions);
    return style;
}

Drawing ReadDrawing(const CBarCodeDoc& doc, const Profile& profile)
{
    return {doc.Symbol(), ReadDrawStyle(profile)};
}

}  // namespace kestrel
