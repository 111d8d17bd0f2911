// The current primary and secondary font selections, and the fonts that
// printed text.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <vector>

namespace veltrix {

inline constexpr std::int32_t kFontFieldUnset = -100;

struct FontSelection {
  std::int32_t typeface = kFontFieldUnset;
  std::int32_t symbolSet = kFontFieldUnset;
  std::int32_t spacing = kFontFieldUnset;
  std::int32_t strokeWeight = kFontFieldUnset;
  std::int32_t style = kFontFieldUnset;
  std::int32_t pitch = kFontFieldUnset;     // characters per inch x 100
  std::int32_t height = kFontFieldUnset;    // point size x 100
  std::int32_t fontId = kFontFieldUnset;    // unset: selected by attributes
  bool changed = false;
  bool noted = false;  // entered in the used fonts since the last change
};

enum class FontAttribute { SymbolSet = 0, Spacing, Pitch, Height, Style, StrokeWeight, Typeface, FontId };

// The seven attributes of a selection by attributes, in a fixed order, as
// the key of the used fonts already entered.
using FontAttributeKey = std::array<std::int32_t, 7>;

struct FontSelectionState {
  FontSelection primary;
  FontSelection secondary;
  bool secondaryCurrent = false;        // SO selects the secondary font, SI the primary
  std::vector<FontSelection> usedFonts;  // one per distinct font that printed text
  // What usedFonts holds, so that a job of many fonts is not searched linearly
  // on every change: the IDs of fonts selected by ID, and the attributes of
  // those selected by attributes.
  std::set<std::int32_t> usedFontIds;
  std::set<FontAttributeKey> usedFontAttributes;
};

void NoteFontAttribute(FontSelectionState& fonts, FontAttribute attribute, bool primary, std::int32_t value);
// ESC E: both selections unset and changed, the primary current.
void ResetFontSelection(FontSelectionState& fonts);
// Called for every listed text character.
void NoteUsedFont(FontSelectionState& fonts);
void ShiftFont(FontSelectionState& fonts, bool secondary);
// Empties the used fonts (with what they release).
void ClearUsedFonts(FontSelectionState& fonts);

}  // namespace veltrix
