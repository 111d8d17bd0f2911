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

// A font selected by ID is known by its ID alone; one selected by
// attributes by all seven of them. Returns whether the font is new.
bool AddToUsedSets(FontSelectionState& fonts, const FontSelection& font) {
  if (font.fontId != kFontFieldUnset) return fonts.usedIds.Insert(static_cast<std::uint32_t>(font.fontId));
  std::uint64_t hash = 0;
  for (const std::int32_t field : {font.typeface, font.symbolSet, font.spacing, font.strokeWeight, font.style,
                                   font.pitch, font.height}) {
    hash = MixHash(hash, static_cast<std::uint32_t>(field));
  }
  return fonts.usedAttributeHashes.Insert(hash);
}

bool SameFont(const FontSelection& a, const FontSelection& b) {
  if (a.fontId != kFontFieldUnset || b.fontId != kFontFieldUnset) return a.fontId == b.fontId;
  return a.typeface == b.typeface && a.symbolSet == b.symbolSet && a.spacing == b.spacing &&
         a.strokeWeight == b.strokeWeight && a.style == b.style && a.pitch == b.pitch && a.height == b.height;
}

constexpr int kFontFields = 8;

void AppendUsedFont(SpillLog& log, const FontSelection& font) {
  for (const std::int32_t field : {font.typeface, font.symbolSet, font.spacing, font.strokeWeight, font.style,
                                   font.pitch, font.height, font.fontId}) {
    log.AppendVarint(ZigZag(field));
  }
}

FontSelection ReadUsedFont(SpillLog::Reader& in) {
  std::int32_t f[kFontFields];
  for (std::int32_t& field : f) field = static_cast<std::int32_t>(UnZigZag(in.Varint()));
  FontSelection font;
  font.typeface = f[0];
  font.symbolSet = f[1];
  font.spacing = f[2];
  font.strokeWeight = f[3];
  font.style = f[4];
  font.pitch = f[5];
  font.height = f[6];
  font.fontId = f[7];
  return font;
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

// Up to this many used fonts a scan is cheapest (most jobs use a handful);
// from there on the key set keeps a job of many fonts linear.
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
  if (!AddToUsedSets(fonts, current)) return;
  AppendUsedFont(fonts.moreUsedFonts, current);
  ++fonts.moreUsedCount;
}

void ForEachUsedFont(const FontSelectionState& fonts, const std::function<void(const FontSelection&)>& visit) {
  for (const FontSelection& font : fonts.usedFonts) visit(font);
  SpillLog::Reader in(fonts.moreUsedFonts);
  for (std::uint64_t i = 0; i < fonts.moreUsedCount; ++i) visit(ReadUsedFont(in));
}

void ShiftFont(FontSelectionState& fonts, bool secondary) { fonts.secondaryCurrent = secondary; }

void ClearUsedFonts(FontSelectionState& fonts) {
  std::vector<FontSelection>().swap(fonts.usedFonts);
  fonts.moreUsedFonts.Clear();
  fonts.moreUsedCount = 0;
  fonts.usedIds.Clear();
  fonts.usedAttributeHashes.Clear();
}

}  // namespace veltrix
