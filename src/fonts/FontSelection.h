// The current primary and secondary font selections, and the fonts that
// printed text.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "decode/core/KeySet.h"
#include "decode/core/SpillLog.h"

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

struct FontSelectionState {
  FontSelection primary;
  FontSelection secondary;
  bool secondaryCurrent = false;        // SO selects the secondary font, SI the primary
  // The distinct fonts that printed text, in order: the first few here, the
  // rest in a log that spills to disk, so that a job that selects millions
  // of fonts costs a set entry each and no more.
  std::vector<FontSelection> usedFonts;
  SpillLog moreUsedFonts;
  std::uint64_t moreUsedCount = 0;
  // Every used font once there are more than a scan should look through:
  // the IDs of fonts selected by ID, and a 64-bit hash of the seven
  // attributes of the others.
  KeySet<std::uint32_t> usedIds;
  KeySet<std::uint64_t> usedAttributeHashes;
};

// Calls `visit` with every used font, in the order they first printed text.
void ForEachUsedFont(const FontSelectionState& fonts, const std::function<void(const FontSelection&)>& visit);

void NoteFontAttribute(FontSelectionState& fonts, FontAttribute attribute, bool primary, std::int32_t value);
// ESC E: both selections unset and changed, the primary current.
void ResetFontSelection(FontSelectionState& fonts);
// Called for every listed text character.
void NoteUsedFont(FontSelectionState& fonts);
void ShiftFont(FontSelectionState& fonts, bool secondary);
// Empties the used fonts (with what they release).
void ClearUsedFonts(FontSelectionState& fonts);

}  // namespace veltrix
