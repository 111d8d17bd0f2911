// The names that the font header listing gives to coded fields: header
// format, font type, the three parts of the style word, orientation,
// spacing, width type, stroke weight, serif style, quality, placement and
// the DeskJet bold method.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "pcl5/NameLookup.h"

namespace veltrix {

// The first row of `table` with this number, or nullopt. An empty name is a
// name (font type 3 has one).
constexpr std::optional<std::string_view> FindFontFieldName(std::span<const NumberName> table, std::int32_t number) {
  for (const NumberName& row : table) {
    if (row.number == number) return row.name;
  }
  return std::nullopt;
}

std::span<const NumberName> HeaderFormatNames();
std::span<const NumberName> FontTypeNames();
std::span<const NumberName> DeskJetStyleNames();   // by style AND 3
std::span<const NumberName> PostureNames();        // by style AND 3
std::span<const NumberName> StyleWidthNames();     // by (style >> 2) AND 7
std::span<const NumberName> StructureNames();      // by (style >> 5) AND 31
std::span<const NumberName> OrientationNames();
std::span<const NumberName> SpacingNames();
std::span<const NumberName> WidthTypeNames();      // by the signed width type
std::span<const NumberName> QualityNames();
std::span<const NumberName> PlacementNames();      // by the signed placement
std::span<const NumberName> BoldMethodNames();

// -7 to 7; any other weight is "Out Of Range".
std::string_view StrokeWeightName(std::int32_t weight);
// The serif style byte as a whole; "*** Unknown" when no row has it.
std::string_view SerifStyleName(std::int32_t serifStyle);

}  // namespace veltrix
