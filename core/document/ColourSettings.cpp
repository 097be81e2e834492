#include "document/ColourSettings.h"

#include "profile/Profile.h"
#include "profile/ProfileSchema.h"

namespace kestrel {

namespace {

constexpr Colour RgbMask = 0xFFFFFF;

struct SlotKey {
    ColourSlot slot;
    const profile::IntKey& key;
};

// The order in which the colours are read and written.
constexpr std::array<SlotKey, ColourSlotCount> ProfileOrder{{
    {ColourSlot::Background, profile::BackColor},
    {ColourSlot::Bar, profile::BarColor},
    {ColourSlot::CodeText, profile::CodeColor},
    {ColourSlot::Comment1, profile::Color1},
    {ColourSlot::Comment2, profile::Color2},
}};

}  // namespace

ColourSettings ColourSettings::Read(const Profile& profile)
{
    ColourSettings settings;
    for (const SlotKey& entry : ProfileOrder) {
        settings.stored_[Index(entry.slot)] = profile::Read(profile, entry.key);
    }
    return settings;
}

void ColourSettings::Write(Profile& profile) const
{
    for (const SlotKey& entry : ProfileOrder) {
        profile::Write(profile, entry.key, stored_[Index(entry.slot)]);
    }
}

Colour ColourSettings::Shown(ColourSlot slot) const
{
    return static_cast<Colour>(Stored(slot)) & RgbMask;
}

void ColourSettings::Pick(ColourSlot slot, Colour chosen)
{
    chosen &= RgbMask;
    if (chosen != Shown(slot)) {
        stored_[Index(slot)] = static_cast<int>(chosen);
    }
}

}  // namespace kestrel
