// The Font Summary (the first definition of every downloaded font, the
// header and character formats met) and the Font Attribute Summary (every
// font that printed text).
#include <span>
#include <string_view>

#include "fonts/FontRegistry.h"

namespace veltrix {

namespace {

constexpr std::string_view kSummaryRule = "\n===================================================\n\n";

void WriteFontLine(const FontRegistry& registry, const FontRecord& record, OutputSink& listing) {
  if (record.xl) {
    listing.Put("    Font (XL dload) (");
  } else {
    listing.Printf("    Font  ID %-5d  (", record.id);
  }
  listing.Put(ShownFontName(record));
  listing.Put(") ");
  if (LaterDefinitions(registry, record) > 0) listing.Put("(This font defined more than once)");
  listing.Put('\n');
}

void WriteFormats(std::string_view label, std::span<const std::uint8_t> formats, OutputSink& listing) {
  if (formats.empty()) return;
  listing.Put(label);
  for (std::size_t i = 0; i < formats.size(); ++i) {
    listing.Put(i == 0 ? " " : ", ");
    listing.PutDecimal(formats[i]);
  }
  listing.Put('\n');
}

void WriteAttribute(std::string_view label, std::int32_t value, OutputSink& listing) {
  if (value == kFontFieldUnset) {
    listing.Printf("    %12.*s : default\n", static_cast<int>(label.size()), label.data());
  } else {
    listing.Printf("    %12.*s : %d\n", static_cast<int>(label.size()), label.data(), value);
  }
}

void WriteUsedFont(const FontSelection& font, OutputSink& listing) {
  if (font.fontId != kFontFieldUnset) {
    WriteAttribute("DFID", font.fontId, listing);
  } else {
    WriteAttribute("Typeface", font.typeface, listing);
    WriteAttribute("Symbol Set", font.symbolSet, listing);
    WriteAttribute("Spacing", font.spacing, listing);
    WriteAttribute("Pitch", font.pitch, listing);
    WriteAttribute("Points", font.height, listing);
    WriteAttribute("Style", font.style, listing);
    WriteAttribute("Weight", font.strokeWeight, listing);
  }
  listing.Put('\n');
}

}  // namespace

void WriteFontSummary(const FontRegistry& registry, const FontSelectionState& selections, OutputSink& listing) {
  listing.Put(kSummaryRule);
  listing.Put(registry.fonts.empty() ? "    Font Summary : No Downloaded Fonts\n\n" : "    Font Summary \n\n");
  for (const FontRecord& record : registry.fonts) {
    if (record.index == 0) WriteFontLine(registry, record, listing);
  }
  WriteFormats("Font formats encountered :", registry.fontFormats, listing);
  WriteFormats("Char formats encountered :", registry.charFormats, listing);
  listing.Put('\n');

  listing.Put(kSummaryRule);
  listing.Put("    Font Attribute Summary\n\n");
  ForEachUsedFont(selections, [&](const FontSelection& font) { WriteUsedFont(font, listing); });
}

}  // namespace veltrix
