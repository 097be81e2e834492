#pragma once

#include "picture/Colour.h"

#include <array>
#include <cstddef>

namespace kestrel {

class Profile;

// The five colours of the picture, by the colour dialog's buttons.
enum class ColourSlot { Bar, Background, CodeText, Comment1, Comment2 };
inline constexpr std::size_t ColourSlotCount = 5;

// The colours as the profile holds them, for the colour dialog. Each is
// kept as the exact integer that was stored, so that a colour the user
// leaves alone goes back unchanged, whatever bits a hand-edited profile put
// above the 24 of the colour.
class ColourSettings {
public:
    // Reads BackColor, BarColor, CodeColor, Color1 and Color2 in this order;
    // white background and black for the others when absent.
    static ColourSettings Read(const Profile& profile);
    // Writes all five in the order they are read.
    void Write(Profile& profile) const;

    int Stored(ColourSlot slot) const { return stored_[Index(slot)]; }
    // The colour a chooser opens on: the low 24 bits, red in the low byte.
    Colour Shown(ColourSlot slot) const;
    // The user chose `chosen` for one colour; the others stay. Choosing the
    // colour already shown changes nothing.
    void Pick(ColourSlot slot, Colour chosen);

private:
    static std::size_t Index(ColourSlot slot) { return static_cast<std::size_t>(slot); }

    std::array<int, ColourSlotCount> stored_{};
};

}  // namespace kestrel
