// The name tables of the font header listing. Some texts keep the
// spellings that listings have always shown ("Utlra", "Extra Extended of
// Extra Expanded"), so that listings stay comparable byte for byte.
#include "fonts/FontDescriptorNames.h"

#include <array>

namespace veltrix {

namespace {

constexpr auto kHeaderFormats = std::to_array<NumberName>({
    {0, "Laserjet Bitmap"},
    {5, "Deskjet Bitmap"},
    {9, "Deskjet Plus Bitmap"},
    {10, "Intellifont Bound Scalable"},
    {11, "Intellifont Unbound Scalable"},
    {12, "Deskjet 500 Bitmap"},
    {15, "TrueType Scalable"},
    {16, "TrueType Universal Type 16"},
    {20, "Resolution Specified Bitmap"},
});

constexpr auto kFontTypes = std::to_array<NumberName>({
    {0, "Bound 7-bit (96 characters : 32-127)"},
    {1, "Bound 8-bit (192 characters : 32-127 & 160-255)"},
    {2, "Bound 8-bit (256 characters : 0-255)"},
    {3, ""},
    {10, "Unbound Intellifont"},
    {11, "Unbound TrueType"},
});

constexpr auto kDeskJetStyles = std::to_array<NumberName>({{0, "Upright"}, {1, "Italic"}});

constexpr auto kPostures = std::to_array<NumberName>({
    {0, "Upright"},
    {1, "Italic"},
    {2, "Alternate Italic"},
    {3, "Reserved"},
});
static_assert(kPostures.size() == 4, "every value of style AND 3 has a name");

constexpr auto kStyleWidths = std::to_array<NumberName>({
    {0, "Normal"},
    {1, "Condensed"},
    {2, "Compressed or Extra Condensed"},
    {3, "Extra Compressed"},
    {4, "Ultra Compressed"},
    {5, "Reserved"},
    {6, "Extended or Expanded"},
    {7, "Extra Extended of Extra Expanded"},
});
static_assert(kStyleWidths.size() == 8, "every value of (style >> 2) AND 7 has a name");

constexpr std::string_view kPatterned = "Patterned (Complex patterns, subjective to type family)";
constexpr std::string_view kPatternedShadow = "Patterned with Shadow";
constexpr auto kStructures = std::to_array<NumberName>({
    {0, "Solid"},
    {1, "Outline"},
    {2, "Inline"},
    {3, "Contour"},
    {4, "Solid with Shadow"},
    {5, "Outline with Shadow"},
    {6, "Inline with Shadow"},
    {7, "Contour with Shadow"},
    {8, kPatterned},
    {9, kPatterned},
    {10, kPatterned},
    {11, kPatterned},
    {12, kPatternedShadow},
    {13, kPatternedShadow},
    {14, kPatternedShadow},
    {15, kPatternedShadow},
    {16, "Inverse"},
    {17, "Inverse in Open Border"},
    {18, "Reserved"},
    {19, "Reserved"},
    {20, "Reserved"},
    {21, "Reserved"},
    {22, "Reserved"},
    {23, "Reserved"},
    {24, "Reserved"},
    {25, "Reserved"},
    {26, "Reserved"},
    {27, "Reserved"},
    {28, "Reserved"},
    {29, "Reserved"},
    {30, "Reserved"},
    {31, "Reserved"},
});
static_assert(kStructures.size() == 32, "every value of (style >> 5) AND 31 has a name");

constexpr auto kOrientations = std::to_array<NumberName>({
    {0, "0 - Portrait"},
    {1, "90 - Landscape"},
    {2, "180 - Reverse portrait"},
    {3, "270 - Reverse landscape"},
});

constexpr auto kSpacings = std::to_array<NumberName>({{0, "Fixed"}, {1, "Proportional"}});

constexpr auto kWidthTypes = std::to_array<NumberName>({
    {-5, "Utlra Compressed"},
    {-4, "Extra Compressed"},
    {-3, "Compressed of Extra Condensed"},
    {-2, "Condensed"},
    {0, "Normal"},
    {2, "Expanded"},
    {3, "Extra Expanded"},
});

constexpr auto kQualities = std::to_array<NumberName>({
    {0, "Data processing"},
    {1, "Near letter quality"},
    {2, "Letter quality"},
});

constexpr auto kPlacements = std::to_array<NumberName>({{-1, "Superior"}, {0, "Normal"}, {1, "Inferior"}});

constexpr auto kBoldMethods = std::to_array<NumberName>({{0, "Light bold"}, {1, "Dark bold"}});

// Indexed by weight + 7.
constexpr std::string_view kStrokeWeights[] = {
    "Ultra Thin", "Extra Thin", "Thin",      "Extra Light", "Light",      "Demi Light",  "Semi Light",
    "Medium, Book or Text",     "Semi Bold", "Demi Bold",   "Bold",       "Extra Bold",  "Black",
    "Extra Black", "Ultra Black",
};
static_assert(std::size(kStrokeWeights) == 15, "weights -7 to 7");

// The whole byte is looked up: the two high bits are named only together
// with serif code 0 (64, 128, 192); any other value with them is unknown.
constexpr auto kSerifStyles = std::to_array<NumberName>({
    {0, "Sans Serif Square"},
    {1, "Sans Serif Round"},
    {2, "Serif Line"},
    {3, "Serif Triangle"},
    {4, "Serif Swath"},
    {5, "Serif Block"},
    {6, "Serif Bracket"},
    {7, "Rounded Bracket"},
    {8, "Flair Serif, Modified Sans"},
    {9, "Script Nonconnecting"},
    {10, "Script Joining"},
    {11, "Script Calligraphic"},
    {12, "Script Broken Letter"},
    {64, "Sans Serif Square"},
    {128, "Sans Serif Square"},
    {192, "Sans Serif Square"},
});

}  // namespace

std::span<const NumberName> HeaderFormatNames() { return kHeaderFormats; }
std::span<const NumberName> FontTypeNames() { return kFontTypes; }
std::span<const NumberName> DeskJetStyleNames() { return kDeskJetStyles; }
std::span<const NumberName> PostureNames() { return kPostures; }
std::span<const NumberName> StyleWidthNames() { return kStyleWidths; }
std::span<const NumberName> StructureNames() { return kStructures; }
std::span<const NumberName> OrientationNames() { return kOrientations; }
std::span<const NumberName> SpacingNames() { return kSpacings; }
std::span<const NumberName> WidthTypeNames() { return kWidthTypes; }
std::span<const NumberName> QualityNames() { return kQualities; }
std::span<const NumberName> PlacementNames() { return kPlacements; }
std::span<const NumberName> BoldMethodNames() { return kBoldMethods; }

std::string_view StrokeWeightName(std::int32_t weight) {
  if (weight < -7 || weight > 7) return "Out Of Range";
  return kStrokeWeights[weight + 7];
}

std::string_view SerifStyleName(std::int32_t serifStyle) {
  return FindFontFieldName(kSerifStyles, serifStyle).value_or("*** Unknown");
}

}  // namespace veltrix
