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

// A font selected by ID is known by its ID alone; one selected by
// attributes by all seven of them. Returns whether the font was new.
bool AddToUsedSets(FontSelectionState& fonts, const FontSelection& font) {
  return font.fontId != kFontFieldUnset ? fonts.usedFontIds.insert(font.fontId).second
                                        : fonts.usedFontAttributes.insert(AttributeKey(font)).second;
}

bool SameFont(const FontSelection& a, const FontSelection& b) {
  if (a.fontId != kFontFieldUnset || b.fontId != kFontFieldUnset) return a.fontId == b.fontId;
  return AttributeKey(a) == AttributeKey(b);
}

// Up to this many used fonts a scan is cheapest (most jobs use a handful);
// from there on the sets keep a job of many fonts linear.
constexpr std::size_t kScannedFonts = 16;

void NoteUsedFont(FontSelectionState& fonts) {
  FontSelection& current = fonts.secondaryCurrent ? fonts.secondary : fonts.primary;
  if (current.noted) return;
  current.noted = true;
  if (fonts.usedFonts.size() < kScannedFonts) {
    for (const FontSelection& used : fonts.usedFonts) {
      if (SameFont(used, current)) return;
    }
    fonts.usedFonts.push_back(current);
    if (fonts.usedFonts.size() == kScannedFonts) {
      for (const FontSelection& used : fonts.usedFonts) AddToUsedSets(fonts, used);
    }
    return;
  }
  if (AddToUsedSets(fonts, current)) fonts.usedFonts.push_back(current);
}

void ShiftFont(FontSelectionState& fonts, bool secondary) { fonts.secondaryCurrent = secondary; }

void ClearUsedFonts(FontSelectionState& fonts) {
  std::vector<FontSelection>().swap(fonts.usedFonts);
  fonts.usedFontIds.clear();
  fonts.usedFontAttributes.clear();
}

}  // namespace veltrix
