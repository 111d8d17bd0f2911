// The names of the coded fields of a character descriptor. A code that a
// table lacks has no name: the listing shows it as "Unknown (n)".
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

namespace veltrix {

struct CharFieldName {
  std::uint8_t code = 0;
  std::string_view name = {};
};

// Character formats: LaserJet, the three DeskJet bitmaps, TrueType. Other
// formats are not listed at all.
inline constexpr CharFieldName kCharFormatNames[] = {
    {4, "Laserjet Family (Raster)"},
    {5, "Deskjet Bitmap"},
    {9, "Deskjet Plus Bitmap"},
    {12, "Deskjet 500 Bitmap"},
    {15, "TrueType Scalable"},
};

inline constexpr CharFieldName kCharClassNames[] = {
    {1, "Bitmap"},
    {2, "Compressed Bitmap"},
    {3, "Contour (Intellifont Scalable)"},
    {4, "Compound Contour (Intellifont Scalable)"},
    {15, "Truetype"},
};

inline constexpr CharFieldName kCharOrientationNames[] = {
    {0, "Portrait"},
    {1, "Landscape"},
    {2, "Reverse portrait"},
    {3, "Reverse landscape"},
};

// DeskJet character types; 1 is not a type of its own.
inline constexpr CharFieldName kDeskJetCharTypeNames[] = {
    {0, "Normal (single pass)"},
    {2, "Pass 1 of multi-pass"},
    {3, "Pass 2 of multi-pass"},
    {4, "Pass 3 of multi-pass"},
    {5, "Pass 4 of multi-pass"},
};

constexpr bool StrictlyAscending(std::span<const CharFieldName> table) {
  return std::ranges::adjacent_find(table, std::ranges::greater_equal{}, &CharFieldName::code) == table.end();
}
static_assert(StrictlyAscending(kCharFormatNames));
static_assert(StrictlyAscending(kCharClassNames));
static_assert(StrictlyAscending(kCharOrientationNames));
static_assert(StrictlyAscending(kDeskJetCharTypeNames));

// The name of `code`; empty when the table has none.
constexpr std::string_view FindCharFieldName(std::span<const CharFieldName> table, std::uint8_t code) {
  const auto it = std::ranges::lower_bound(table, code, {}, &CharFieldName::code);
  return it != table.end() && it->code == code ? it->name : std::string_view{};
}

}  // namespace veltrix
