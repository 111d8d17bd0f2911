// The built-in page size names.
#include <algorithm>
#include <array>

#include "pcl5/NameLookup.h"

namespace veltrix {

namespace {
// PCL page size codes (ESC&l#A), ascending.
constexpr auto kPaperSizes = std::to_array<NumberName>({
    {1, "Executive"},
    {2, "Letter"},
    {3, "Legal"},
    {6, "Ledger"},
    {10, "Folio"},
    {24, "Card - A6 JIS"},
    {25, "A5"},
    {26, "A4"},
    {27, "A3"},
    {45, "B5 Paper JIS"},
    {46, "B4 Paper JIS"},
    {71, "Card - Haguaki"},
    {72, "Oufuku - Haguaki"},
    {74, "Card - 4 x 6"},
    {75, "Card - 5 x 8"},
    {80, "Envelope - Monarch"},
    {81, "Envelope - Com-10"},
    {90, "Envelope - DL"},
    {91, "Envelope - C5"},
    {100, "Envelope - B5"},
    {101, "Custom"},
    {109, "US - A2 Invitation"},
    {110, "Japanese envelope #3"},
    {111, "Japanese envelope #4"},
    {113, "KaKu"},
    {600, "Other envelope"},
    {601, "Executive - 100 sheet Aux feeder"},
    {602, "Letter - 100 sheet Aux feeder"},
    {603, "Legal - 100 sheet Aux feeder"},
    {612, "B5 - 100 sheet Aux feeder"},
    {613, "A5 - 100 sheet Aux feeder"},
    {626, "A4 - 100 sheet Aux feeder"}});
static_assert(kPaperSizes.size() == 32);
// Strictly ascending: the binary search finds the row that a scan would.
static_assert(std::ranges::adjacent_find(kPaperSizes, std::ranges::greater_equal{},
                                         &NumberName::number) == kPaperSizes.end());

}  // namespace

std::span<const NumberName> BuiltInPaperSizes() { return kPaperSizes; }

}  // namespace veltrix
