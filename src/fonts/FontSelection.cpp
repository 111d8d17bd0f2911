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

bool SameAttributes(const FontSelection& a, const FontSelection& b) {
  return a.typeface == b.typeface && a.symbolSet == b.symbolSet && a.spacing == b.spacing &&
         a.strokeWeight == b.strokeWeight && a.style == b.style && a.pitch == b.pitch &&
         a.height == b.height;
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
  for (const FontSelection& used : fonts.usedFonts) {
    if (current.fontId != kFontFieldUnset && used.fontId == current.fontId) return;
    if (current.fontId == kFontFieldUnset && used.fontId == kFontFieldUnset && SameAttributes(used, current)) return;
  }
  fonts.usedFonts.push_back(current);
}

void ShiftFont(FontSelectionState& fonts, bool secondary) { fonts.secondaryCurrent = secondary; }

}  // namespace veltrix
