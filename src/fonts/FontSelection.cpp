#include "fonts/FontSelection.h"

namespace veltrix {

namespace {

std::int32_t& AttributeField(FontSelection& font, FontAttribute attribute) {
  switch (attribute) {
    case FontAttribute::SymbolSet: return font.symbolSet;
    case FontAttribute::Spacing: return font.spacing;
    case FontAttribute::Pitch: return font.pitch;
    case FontAttribute::Height: return font.height;
    case FontAttribute::Style: return font.style;
    case FontAttribute::StrokeWeight: return font.strokeWeight;
    case FontAttribute::Typeface: return font.typeface;
    case FontAttribute::FontId: break;
  }
  return font.fontId;
}

FontAttributeKey AttributeKey(const FontSelection& font) {
  return {font.typeface, font.symbolSet, font.spacing, font.strokeWeight, font.style, font.pitch, font.height};
}

}  // namespace

void NoteFontAttribute(FontSelectionState& fonts, FontAttribute attribute, bool primary, std::int32_t value) {
  FontSelection& font = primary ? fonts.primary : fonts.secondary;
  std::int32_t& field = AttributeField(font, attribute);
  if (field != value) {
    field = value;
    font.changed = true;
    font.noted = false;
  }
  // Selecting by any attribute drops a selection by ID.
  if (attribute != FontAttribute::FontId) font.fontId = kFontFieldUnset;
}

void ResetFontSelection(FontSelectionState& fonts) {
  FontSelection fresh;
  fresh.changed = true;
  fonts.primary = fresh;
  fonts.secondary = fresh;
  fonts.secondaryCurrent = false;
}

void NoteUsedFont(FontSelectionState& fonts) {
  FontSelection& current = fonts.secondaryCurrent ? fonts.secondary : fonts.primary;
  if (current.noted) return;
  current.noted = true;
  // A font selected by ID is known by its ID alone; one selected by
  // attributes by all seven of them.
  const bool added = current.fontId != kFontFieldUnset ? fonts.usedFontIds.insert(current.fontId).second
                                                       : fonts.usedFontAttributes.insert(AttributeKey(current)).second;
  if (added) fonts.usedFonts.push_back(current);
}

void ShiftFont(FontSelectionState& fonts, bool secondary) { fonts.secondaryCurrent = secondary; }

void ClearUsedFonts(FontSelectionState& fonts) {
  std::vector<FontSelection>().swap(fonts.usedFonts);
  fonts.usedFontIds.clear();
  fonts.usedFontAttributes.clear();
}

}  // namespace veltrix
