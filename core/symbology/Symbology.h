#pragma once

#include <cstddef>
#include <string_view>

namespace kestrel {

// The symbology index held in `CodeType`; also the item index of the code
// dialog's type list. What each one is lives in SymbologyCatalogue.
enum Symbology : int {
    Jan13 = 0,
    Jan8 = 1,
    Itf = 2,
    Stf = 3,
    Codabar = 4,
    Code39 = 5,
    Code39Extended = 6,
    Code93 = 7,
    Code93Extended = 8,
    Code11OneCheck = 9,
    Code11TwoChecks = 10,
    Code128B = 11,
};

inline constexpr int SymbologyCount = 12;

inline bool IsSymbology(int codeType)
{
    return codeType >= 0 && codeType < SymbologyCount;
}

// One text column of the catalogue in index order: the short names for
// command lines, or the names the user sees in the type list (UTF-8).
class SymbologyTexts {
public:
    enum class Column { Key, Name };

    class Iterator {
    public:
        constexpr Iterator(const SymbologyTexts* texts, std::size_t index)
            : texts_(texts), index_(index)
        {
        }
        std::string_view operator*() const { return (*texts_)[index_]; }
        Iterator& operator++()
        {
            ++index_;
            return *this;
        }
        bool operator==(const Iterator&) const = default;

    private:
        const SymbologyTexts* texts_;
        std::size_t index_;
    };

    constexpr explicit SymbologyTexts(Column column) : column_(column) {}

    // Empty outside the catalogue.
    std::string_view operator[](std::size_t index) const;
    constexpr std::size_t size() const { return SymbologyCount; }
    constexpr Iterator begin() const { return {this, 0}; }
    constexpr Iterator end() const { return {this, size()}; }

private:
    Column column_;
};

inline constexpr SymbologyTexts SymbologyKeys{SymbologyTexts::Column::Key};
inline constexpr SymbologyTexts SymbologyNames{SymbologyTexts::Column::Name};

}  // namespace kestrel
